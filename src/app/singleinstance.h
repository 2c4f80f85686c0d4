#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One running Palcomir per user and data folder: a second start asks the
// first to come forward and then ends.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // The key names the user and the folder of the learner's files.
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);
    ~SingleInstance() override;

    static QString keyFor(const QString &dataFolder);

    // True when another instance answered and was asked to come forward.
    bool askRunningToActivate();

    // Starts answering later starts. False when the name cannot be used.
    bool listen();

signals:
    void activationRequested();

private:
    void answer();

    QString m_name;
    QLocalServer *m_server = nullptr;
};

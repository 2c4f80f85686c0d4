#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the event loop normally on SIGTERM, SIGINT and SIGHUP (a logout, a
// shutdown, Ctrl+C or a closed terminal), so the program saves its files
// exactly as when the learner closes it. The signal handler only writes a
// byte to a socket; the event loop does the rest. One instance per process.
class ExitSignals : public QObject
{
    Q_OBJECT

public:
    explicit ExitSignals(QObject *parent = nullptr);
    ~ExitSignals() override;

    // Whether the handlers are in place.
    bool active() const { return m_notifier != nullptr; }

private:
    QSocketNotifier *m_notifier = nullptr;
};

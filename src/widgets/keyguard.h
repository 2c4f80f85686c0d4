#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSet>

class QWidget;

// Keeps the keys of typing from answering a box that opens while the learner
// types: for a moment after it opens, the box takes no key, and a key that was
// already down when it opened (its repeats and its release) never reaches it.
// A pupil's habitual Enter after the last line thus cannot skip the verdict.
class KeyGuard : public QObject
{
    Q_OBJECT

public:
    static constexpr int kQuietMs = 500;

    // Guards `box` (and its children) from now on, for as long as it lives.
    explicit KeyGuard(QWidget *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool guards(QObject *receiver) const;

    QWidget *m_box;
    QElapsedTimer m_since;
    QSet<int> m_pressed; // keys pressed since the quiet moment, whose releases count
};

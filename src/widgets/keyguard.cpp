#include "widgets/keyguard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

KeyGuard::KeyGuard(QWidget *box)
    : QObject(box)
    , m_box(box)
{
    m_since.start();
    qApp->installEventFilter(this);
}

bool KeyGuard::guards(QObject *receiver) const
{
    if (auto *widget = qobject_cast<QWidget *>(receiver))
        return widget->window() == m_box;
    if (auto *window = qobject_cast<QWindow *>(receiver))
        return window == m_box->windowHandle();
    return false;
}

bool KeyGuard::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    if (!guards(watched))
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const bool quiet = m_since.elapsed() < kQuietMs;
    switch (type) {
    case QEvent::ShortcutOverride:
        // Claimed, so no mnemonic fires; the press that follows is judged below.
        if (quiet || key->isAutoRepeat()) {
            event->accept();
            return true;
        }
        return false;
    case QEvent::KeyPress:
        if (quiet)
            return true;
        if (key->isAutoRepeat())
            return !m_pressed.contains(key->key());
        m_pressed.insert(key->key());
        return false;
    default:
        // A release counts only for a press the box has taken.
        if (key->isAutoRepeat())
            return !m_pressed.contains(key->key());
        return !m_pressed.remove(key->key());
    }
}

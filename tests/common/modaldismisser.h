#pragma once

// Closes every modal dialog that opens while it lives, as a learner pressing
// Esc would, and remembers their titles. Tests that start the whole program
// use it so that a dialog opened at start (registration) cannot block them.

#include <QApplication>
#include <QDialog>
#include <QStringList>
#include <QTimer>

class ModalDismisser
{
public:
    ModalDismisser()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                titles << dialog->windowTitle();
                dialog->reject();
            }
        });
        m_timer.start(20);
    }

    QStringList titles;

private:
    QTimer m_timer;
};

#pragma once

// Finding a dialog's controls by the number the program gives them (their
// object name) and clicking them as a learner would.

#include <QAbstractButton>
#include <QtTest>

template<typename T = QAbstractButton> T *control(QWidget &dialog, const char *id)
{
    T *found = dialog.findChild<T *>(QString::fromLatin1(id));
    if (!found)
        qFatal("no control %s", id);
    return found;
}

inline void click(QWidget &dialog, const char *id)
{
    // Near the left edge: a check box or radio button reacts only on its mark and caption.
    QAbstractButton *button = control(dialog, id);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

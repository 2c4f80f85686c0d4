#pragma once

#include <QString>

class QPushButton;
class QWidget;

// A dialog's push button, named by the number the program knows it by, so
// the dialogs' tests (and their help) can find it; the default button is the
// one Enter presses.
QPushButton *dialogButton(QWidget *dialog, const QString &text, int id, bool isDefault = false);

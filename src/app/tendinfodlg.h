#pragma once

#include <QDialog>

// "Koniec lekcji": the verdict on a suggested lesson, and the choice of what
// comes next.
class TEndInfoDlg : public QDialog
{
    Q_OBJECT

public:
    // Results of the buttons; closing the box any other way gives Dismissed.
    enum Choice { Dismissed = 0, Next = 6, No = 7, Repeat = 101 };

    // `defaultChoice` is the button Enter presses: Next, or Repeat when the
    // verdict advises repeating. The keys of the lesson's typing do not
    // answer it (KeyGuard).
    TEndInfoDlg(QWidget *parent, const QString &text, Choice defaultChoice = Next);
};

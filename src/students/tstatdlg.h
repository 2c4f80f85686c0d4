#pragma once

#include <QDialog>

class QRadioButton;
class TStatListBox;
struct TStudent;

// "Statystyka": the student's speed or accuracy on every character measured
// so far, as numbers and bars. Reads the record and changes nothing in it.
class TStatDlg : public QDialog
{
    Q_OBJECT

public:
    // The record must outlive the dialog.
    TStatDlg(QWidget *parent, const TStudent &student);

private:
    void showMode();

    const TStudent &m_student;
    QRadioButton *m_speed = nullptr; // 101
    QRadioButton *m_accuracy = nullptr; // 102
    TStatListBox *m_list = nullptr; // 100
};

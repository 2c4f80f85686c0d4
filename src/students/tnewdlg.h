#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;
struct TStudent;

// "Nowy uczeń": a new student's name and sex. The student is filled only when
// the dialog is accepted; any name is accepted, an empty or repeated one too.
class TNewDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kMaxNameLength = 99;

    TNewDlg(QWidget *parent, TStudent &student);

    void accept() override;

private:
    TStudent &m_student;
    QLineEdit *m_name = nullptr; // 101
    QLineEdit *m_age = nullptr; // 102, never shown
    QRadioButton *m_male = nullptr; // 103
    QRadioButton *m_female = nullptr; // 104
};

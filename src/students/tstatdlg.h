#pragma once

#include "text/statchars.h"

#include <array>
#include <string>

#include <QDialog>

class QLabel;
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

    // What the learner typed instead of each character (Windows-1250, as
    // "k, j"; empty for none), told for the character picked in the list.
    using ConfusedWith = std::array<std::string, kStatCharCount>;
    void setConfusedWith(const ConfusedWith &confused);
    QString confusedText() const;

private:
    void showMode();
    void showConfused();

    const TStudent &m_student;
    QRadioButton *m_speed = nullptr; // 101
    QRadioButton *m_accuracy = nullptr; // 102
    TStatListBox *m_list = nullptr; // 100
    QLabel *m_confused = nullptr; // 103
    ConfusedWith m_confusedWith {};
};

#pragma once

#include <QDialog>

class QLineEdit;

// "Wybór litery": one character, turned into the number of its single-letter lesson.
class TChoseKeyDlg : public QDialog
{
    Q_OBJECT

public:
    // The number (1 to 47) is written only when the dialog is accepted.
    TChoseKeyDlg(QWidget *parent, int &lessonNumber);

    QLineEdit *letterEdit() const { return m_letter; }

private:
    void tryAccept();

    int &m_lessonNumber;
    QLineEdit *m_letter = nullptr;
};

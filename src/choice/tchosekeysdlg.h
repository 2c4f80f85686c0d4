#pragma once

#include <string>

#include <QDialog>

class QLineEdit;
class QRadioButton;

// "Wybór liter": up to ten characters to practise, the number of lines and
// whether the exercise is made of random letter groups or of words.
class TChoseKeysDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kMaxCharacters = 10;

    // The results are meaningful only when the dialog is accepted.
    TChoseKeysDlg(QWidget *parent, std::string &characters, bool &words, int &lineCount);

    QLineEdit *charactersEdit() const { return m_characters; }
    QLineEdit *lineCountEdit() const { return m_lineCount; }

private:
    void tryAccept();

    std::string &m_resultCharacters;
    bool &m_resultWords;
    int &m_resultLineCount;
    QLineEdit *m_characters = nullptr;
    QLineEdit *m_lineCount = nullptr;
    QRadioButton *m_random = nullptr;
    QRadioButton *m_words = nullptr;
};

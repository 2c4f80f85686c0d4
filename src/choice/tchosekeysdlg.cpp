#include "choice/tchosekeysdlg.h"

#include "widgets/dialogbuttons.h"
#include "widgets/help.h"
#include "widgets/textcodec.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TChoseKeysDlg::TChoseKeysDlg(QWidget *parent, std::string &characters, bool &words, int &lineCount)
    : QDialog(parent)
    , m_resultCharacters(characters)
    , m_resultWords(words)
    , m_resultLineCount(lineCount)
{
    setWindowTitle(QStringLiteral("Wybór liter"));

    m_characters = new QLineEdit(this);
    m_characters->setObjectName(QStringLiteral("100"));
    m_lineCount = new QLineEdit(QStringLiteral("6"), this);
    m_lineCount->setObjectName(QStringLiteral("101"));
    auto *charactersLabel = new QLabel(QStringLiteral("Doskonalone litery:"), this);
    charactersLabel->setBuddy(m_characters);
    auto *linesLabel = new QLabel(QStringLiteral("Ilość linii (2-100):"), this);
    linesLabel->setBuddy(m_lineCount);

    auto *kind = new QGroupBox(QStringLiteral("Typ ćwiczenia"), this);
    m_random = new QRadioButton(QStringLiteral("Losowo wybrane litery"), kind);
    m_random->setObjectName(QStringLiteral("102"));
    m_words = new QRadioButton(QStringLiteral("Słowa"), kind);
    m_words->setObjectName(QStringLiteral("103"));
    m_words->setChecked(true);
    auto *kindLayout = new QVBoxLayout(kind);
    kindLayout->addWidget(m_random);
    kindLayout->addWidget(m_words);

    auto *ok = dialogButton(this, QStringLiteral("OK"), 1, true);
    auto *cancel = dialogButton(this, QStringLiteral("Anuluj"), 2);
    auto *help = dialogButton(this, QStringLiteral("Pomoc"), 998);

    auto *layout = new QGridLayout(this);
    layout->addWidget(charactersLabel, 0, 0);
    layout->addWidget(m_characters, 0, 1);
    layout->addWidget(linesLabel, 1, 0);
    layout->addWidget(m_lineCount, 1, 1);
    layout->addWidget(kind, 2, 0, 1, 2);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addStretch();
    layout->addLayout(buttons, 0, 2, 3, 1);

    connect(ok, &QPushButton::clicked, this, &TChoseKeysDlg::tryAccept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { Help::show(this, Help::Letters); });
}

// Refusals are silent: the dialog simply stays open.
void TChoseKeysDlg::tryAccept()
{
    // Characters with no Windows-1250 byte are no keys of any lesson: they are left out.
    std::string characters;
    for (const char32_t cp : m_characters->text().toUcs4()) {
        if (const auto byte = textcodec::byteOf(cp); byte && cp >= 0x20)
            characters += static_cast<char>(*byte);
        if (static_cast<int>(characters.size()) == kMaxCharacters)
            break;
    }
    m_resultCharacters = characters;
    if (characters.empty())
        return;
    bool isNumber = false;
    const int lines = m_lineCount->text().trimmed().toInt(&isNumber);
    m_resultLineCount = isNumber ? lines : 0;
    m_resultWords = m_words->isChecked();
    if (m_resultLineCount >= 2 && m_resultLineCount <= 100)
        accept();
}

#include "settings/toptionsdlg.h"

#include "settings/toptions.h"
#include "widgets/help.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template<typename Control> Control *control(const QString &text, const char *id, QWidget *parent)
{
    auto *widget = new Control(text, parent);
    widget->setObjectName(QString::fromLatin1(id));
    return widget;
}

} // namespace

TOptionsDlg::TOptionsDlg(QWidget *parent, TOptions &options)
    : QDialog(parent)
    , m_options(options)
{
    setWindowTitle(QStringLiteral("Opcje"));
    setObjectName(QStringLiteral("22005"));

    auto *sound = new QGroupBox(QStringLiteral("Dźwięk"), this);
    m_click = control<QCheckBox>(QStringLiteral("Stukanie klawiszy"), "101", sound);
    m_typewriter = control<QRadioButton>(QStringLiteral("Stara maszyna do pisania"), "105", sound);
    m_electronic = control<QRadioButton>(QStringLiteral("Elektroniczna"), "106", sound);
    auto *soundSet = new QButtonGroup(this);
    soundSet->addButton(m_typewriter, 0);
    soundSet->addButton(m_electronic, 1);
    auto *soundLayout = new QVBoxLayout(sound);
    soundLayout->addWidget(m_click);
    soundLayout->addWidget(m_typewriter);
    soundLayout->addWidget(m_electronic);

    auto *keyboard = new QGroupBox(QStringLiteral("Klawiatura"), this);
    m_showKeyb = control<QCheckBox>(QStringLiteral("Pokaż klawiaturę"), "102", keyboard);
    m_showNext = control<QCheckBox>(QStringLiteral("Zaznacz następny klawisz"), "103", keyboard);
    auto *keyboardLayout = new QVBoxLayout(keyboard);
    keyboardLayout->addWidget(m_showKeyb);
    keyboardLayout->addWidget(m_showNext);

    auto *errors = new QGroupBox(QStringLiteral("Błędy"), this);
    m_waitForKey = control<QRadioButton>(QStringLiteral("Czekaj na naciśnięcie poprawnego klawisza"), "108", errors);
    m_goOn = control<QRadioButton>(QStringLiteral("Nie wymagaj poprawy błędów"), "109", errors);
    auto *errorType = new QButtonGroup(this);
    errorType->addButton(m_waitForKey, 0);
    errorType->addButton(m_goOn, 1);
    auto *errorsLayout = new QVBoxLayout(errors);
    errorsLayout->addWidget(m_waitForKey);
    errorsLayout->addWidget(m_goOn);

    auto *ok = control<QPushButton>(QStringLiteral("OK"), "1", this);
    ok->setDefault(true);
    auto *cancel = control<QPushButton>(QStringLiteral("&Anuluj"), "2", this);
    auto *help = control<QPushButton>(QStringLiteral("&Pomoc"), "998", this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { Help::show(this, Help::Options); });

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addStretch();

    auto *groups = new QVBoxLayout;
    groups->addWidget(sound);
    groups->addWidget(keyboard);
    groups->addWidget(errors);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_click->setChecked(options.Click);
    // A value outside 0..1 marks neither button, as the stored number names neither.
    m_typewriter->setChecked(options.Type == 0);
    m_electronic->setChecked(options.Type == 1);
    m_showKeyb->setChecked(options.ShowKeyb);
    m_showNext->setChecked(options.ShowNext);
    m_waitForKey->setChecked(options.ErrorType == 0);
    m_goOn->setChecked(options.ErrorType == 1);

    connect(m_click, &QCheckBox::toggled, this, &TOptionsDlg::applyEnablingRule);
    connect(m_showKeyb, &QCheckBox::toggled, this, &TOptionsDlg::applyEnablingRule);
    applyEnablingRule();
}

// A disabled control keeps its mark, and OK stores that mark.
void TOptionsDlg::applyEnablingRule()
{
    m_showNext->setEnabled(m_showKeyb->isChecked());
    m_typewriter->setEnabled(m_click->isChecked());
    m_electronic->setEnabled(m_click->isChecked());
}

void TOptionsDlg::accept()
{
    m_options.Click = m_click->isChecked();
    m_options.Type = m_typewriter->isChecked() ? 0 : 1;
    m_options.ShowKeyb = m_showKeyb->isChecked();
    m_options.ShowNext = m_showNext->isChecked();
    m_options.ShowHands = false; // no control for it; accepting the dialog always clears it
    m_options.ErrorType = m_waitForKey->isChecked() ? 0 : 1;
    QDialog::accept();
}

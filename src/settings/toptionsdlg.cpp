#include "settings/toptionsdlg.h"

#include "settings/toptions.h"
#include "widgets/help.h"
#include "widgets/viewzoom.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
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

TOptionsDlg::TOptionsDlg(QWidget *parent, TOptions &options, int shownZoom)
    : QDialog(parent)
    , m_options(options)
    , m_shownZoom(shownZoom)
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

    auto *view = new QGroupBox(QStringLiteral("Widok"), this);
    m_zoom = new QComboBox(view);
    m_zoom->setObjectName(QStringLiteral("110"));
    for (int step : ZoomSteps::kSteps)
        m_zoom->addItem(QStringLiteral("%1 %").arg(step), step);
    auto *zoomLabel = new QLabel(QStringLiteral("&Wielkość okna:"), view);
    zoomLabel->setBuddy(m_zoom);
    m_zoom->setAccessibleName(QStringLiteral("Wielkość okna"));
    m_fullScreen = control<QCheckBox>(QStringLiteral("Pełny ekran (F11)"), "111", view);
    auto *zoomRow = new QHBoxLayout;
    zoomRow->addWidget(zoomLabel);
    zoomRow->addWidget(m_zoom);
    auto *viewLayout = new QVBoxLayout(view);
    viewLayout->addLayout(zoomRow);
    viewLayout->addWidget(m_fullScreen);

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
    groups->addWidget(view);

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
    m_zoom->setCurrentIndex(std::max(0, m_zoom->findData(options.Zoom ? options.Zoom : shownZoom)));
    m_fullScreen->setChecked(options.FullScreen.value_or(false));

    connect(m_click, &QCheckBox::toggled, this, &TOptionsDlg::applyEnablingRule);
    connect(m_showKeyb, &QCheckBox::toggled, this, &TOptionsDlg::applyEnablingRule);
    applyEnablingRule();
}

// A disabled control keeps its mark, and OK stores that mark.
void TOptionsDlg::applyEnablingRule()
{
    const std::pair<std::string_view, std::vector<QWidget *>> controls[] = {
        { "Click", { m_click } },
        { "Type", { m_typewriter, m_electronic } },
        { "ShowKeyb", { m_showKeyb } },
        { "ShowNext", { m_showNext } },
        { "ErrorType", { m_waitForKey, m_goOn } },
        { "Skala", { m_zoom } },
        { "PelnyEkran", { m_fullScreen } },
    };
    for (const auto &[key, widgets] : controls) {
        const bool locked = m_rules.isLocked(key);
        for (QWidget *widget : widgets) {
            widget->setEnabled(!locked);
            if (locked)
                widget->setToolTip(QStringLiteral("To ustawienie wybrał nauczyciel i nie można go zmienić."));
        }
    }
    if (!m_showKeyb->isChecked())
        m_showNext->setEnabled(false);
    if (!m_click->isChecked()) {
        m_typewriter->setEnabled(false);
        m_electronic->setEnabled(false);
    }
}

void TOptionsDlg::lock(const TeacherRules &rules)
{
    m_rules = rules;
    applyEnablingRule();
}

void TOptionsDlg::accept()
{
    m_options.Click = m_click->isChecked();
    m_options.Type = m_typewriter->isChecked() ? 0 : 1;
    m_options.ShowKeyb = m_showKeyb->isChecked();
    m_options.ShowNext = m_showNext->isChecked();
    m_options.ShowHands = false; // no control for it; accepting the dialog always clears it
    m_options.ErrorType = m_waitForKey->isChecked() ? 0 : 1;
    // Left as shown, the zoom stays unchosen and keeps following the screen.
    if (const int zoom = m_zoom->currentData().toInt(); m_options.Zoom || zoom != m_shownZoom)
        m_options.Zoom = zoom;
    if (m_options.FullScreen || m_fullScreen->isChecked())
        m_options.FullScreen = m_fullScreen->isChecked();
    QDialog::accept();
}

#include "students/tstatdlg.h"

#include "students/tstatlistbox.h"
#include "students/tstudent.h"
#include "widgets/dialogbuttons.h"
#include "widgets/help.h"
#include "widgets/textcodec.h"
#include "widgets/viewzoom.h"

#include <algorithm>

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TStatDlg::TStatDlg(QWidget *parent, const TStudent &student)
    : QDialog(parent)
    , m_student(student)
{
    setWindowTitle(QStringLiteral("Statystyka"));
    setObjectName(QStringLiteral("22003"));

    m_speed = new QRadioButton(QStringLiteral("&Szybkość - znaki/minutę"), this);
    m_speed->setObjectName(QStringLiteral("101"));
    m_accuracy = new QRadioButton(QStringLiteral("&Poprawność - procenty"), this);
    m_accuracy->setObjectName(QStringLiteral("102"));
    auto *modes = new QButtonGroup(this);
    modes->addButton(m_speed);
    modes->addButton(m_accuracy);
    m_speed->setChecked(true);

    m_list = new TStatListBox(this, m_student.CharStats);
    m_list->setObjectName(QStringLiteral("100"));
    m_list->setAccessibleName(QStringLiteral("Statystyka liter"));
    // Wide enough that a four-digit speed and "Spacja" keep to their cells.
    m_list->setMinimumSize(ViewZoom::scaled(QSize(540, 300)));

    // Below the list, so the rows stay as they are drawn without it.
    m_confused = new QLabel(this);
    m_confused->setObjectName(QStringLiteral("103"));
    connect(m_list, &QListWidget::currentItemChanged, this, &TStatDlg::showConfused);

    auto *close = dialogButton(this, QStringLiteral("&Zamknij"), 1, true);
    auto *help = dialogButton(this, QStringLiteral("&Pomoc"), 998);

    connect(m_speed, &QRadioButton::toggled, this, &TStatDlg::showMode);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(help, &QPushButton::clicked, this, [this] { Help::show(this, Help::Statistics); });

    auto *radios = new QVBoxLayout;
    radios->addWidget(m_speed);
    radios->addWidget(m_accuracy);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(close);
    buttons->addWidget(help);
    buttons->addStretch();

    auto *layout = new QGridLayout(this);
    layout->addLayout(radios, 0, 0);
    layout->addWidget(m_list, 1, 0);
    layout->addWidget(m_confused, 2, 0);
    layout->addLayout(buttons, 0, 1, 3, 1);
    m_list->setFocus();
}

void TStatDlg::showMode()
{
    m_list->setMode(m_speed->isChecked() ? StatMode::Speed : StatMode::Accuracy);
}

void TStatDlg::setConfusedWith(const ConfusedWith &confused)
{
    m_confusedWith = confused;
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem *item = m_list->item(row);
        const std::string &typed = m_confusedWith[std::size_t(item->data(Qt::UserRole).toInt())];
        item->setToolTip(typed.empty() ? QString() : QStringLiteral("mylone z: ") + textcodec::toQString(typed));
    }
    showConfused();
}

QString TStatDlg::confusedText() const
{
    return m_confused->text();
}

void TStatDlg::showConfused()
{
    const QListWidgetItem *item = m_list->currentItem();
    const std::string *typed = item ? &m_confusedWith[std::size_t(item->data(Qt::UserRole).toInt())] : nullptr;
    if (!item) {
        const bool any = std::any_of(
            m_confusedWith.begin(), m_confusedWith.end(), [](const std::string &t) { return !t.empty(); });
        m_confused->setText(any ? QStringLiteral("Wskaż znak na liście, by zobaczyć, z czym go mylisz.") : QString());
        return;
    }
    if (typed->empty()) {
        m_confused->clear();
        return;
    }
    m_confused->setText(QStringLiteral("%1 – mylone z: %2").arg(item->text(), textcodec::toQString(*typed)));
}

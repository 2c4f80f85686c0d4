#include "students/tstatdlg.h"

#include "students/tstatlistbox.h"
#include "students/tstudent.h"
#include "widgets/dialogbuttons.h"
#include "widgets/help.h"

#include <QButtonGroup>
#include <QGridLayout>
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
    // Wide enough that a four-digit speed and "Spacja" keep to their cells.
    m_list->setMinimumSize(540, 300);

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
    layout->addLayout(buttons, 0, 1, 2, 1);
    m_list->setFocus();
}

void TStatDlg::showMode()
{
    m_list->setMode(m_speed->isChecked() ? StatMode::Speed : StatMode::Accuracy);
}

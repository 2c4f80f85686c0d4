#include "students/tnewdlg.h"

#include "students/tstudent.h"
#include "widgets/dialogbuttons.h"
#include "widgets/help.h"
#include "widgets/messages.h"
#include "widgets/textcodec.h"

#include <climits>

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The age field read as an unsigned number; anything else, an empty field
// included, reads as 0.
std::int32_t ageOf(const QString &text)
{
    bool ok = false;
    const uint age = text.trimmed().toUInt(&ok);
    return ok && age <= uint(INT_MAX) ? static_cast<std::int32_t>(age) : 0;
}

} // namespace

TNewDlg::TNewDlg(QWidget *parent, TStudent &student)
    : QDialog(parent)
    , m_student(student)
{
    setWindowTitle(QStringLiteral("Nowy uczeń"));
    setObjectName(QStringLiteral("22002"));

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("101"));
    m_name->setMaxLength(kMaxNameLength);
    m_name->setAccessibleName(QStringLiteral("Imię"));

    m_male = new QRadioButton(QStringLiteral("Mężczyzna"), this);
    m_male->setObjectName(QStringLiteral("103"));
    m_female = new QRadioButton(QStringLiteral("Kobieta"), this);
    m_female->setObjectName(QStringLiteral("104"));
    auto *sex = new QButtonGroup(this);
    sex->addButton(m_male);
    sex->addButton(m_female);
    m_male->setChecked(true);

    // The age is kept in the record but the learner is never asked for it.
    auto *ageLabel = new QLabel(QStringLiteral("Wiek:"), this);
    ageLabel->setVisible(false);
    m_age = new QLineEdit(this);
    m_age->setObjectName(QStringLiteral("102"));
    m_age->setVisible(false);

    auto *ok = dialogButton(this, QStringLiteral("OK"), 1, true);
    auto *cancel = dialogButton(this, QStringLiteral("&Anuluj"), 2);
    auto *help = dialogButton(this, QStringLiteral("&Pomoc"), 998);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { Help::show(this, Help::NewStudent); });

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Imię:"), this), 0, 0);
    fields->addWidget(m_name, 0, 1, 1, 2);
    fields->addWidget(new QLabel(QStringLiteral("Płeć:"), this), 1, 0);
    fields->addWidget(m_male, 1, 1);
    fields->addWidget(m_female, 1, 2);
    fields->addWidget(ageLabel, 2, 0);
    fields->addWidget(m_age, 2, 1);
    fields->setRowStretch(3, 1);
    fields->setColumnMinimumWidth(1, 80);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);
    m_name->setMinimumWidth(m_name->fontMetrics().averageCharWidth() * 26);
    m_name->setFocus();
}

void TNewDlg::accept()
{
    // A blank name would be a blank row in every list of the class.
    if (m_name->text().trimmed().isEmpty()) {
        Messages::stop(this, QStringLiteral("Nowy uczeń"), QStringLiteral("Wpisz imię ucznia."));
        m_name->setFocus();
        return;
    }
    std::string name = textcodec::fromQString(m_name->text());
    if (name.size() > std::size_t(kMaxNameLength))
        name.resize(std::size_t(kMaxNameLength));
    m_student.Name = std::move(name);
    m_student.Age = ageOf(m_age->text());
    m_student.Male = m_male->isChecked() ? 1 : 0;
    QDialog::accept();
}

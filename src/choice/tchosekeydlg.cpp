#include "choice/tchosekeydlg.h"

#include "choice/lettertable.h"
#include "widgets/dialogbuttons.h"
#include "widgets/help.h"
#include "widgets/messages.h"
#include "widgets/textcodec.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TChoseKeyDlg::TChoseKeyDlg(QWidget *parent, int &lessonNumber)
    : QDialog(parent)
    , m_lessonNumber(lessonNumber)
{
    setWindowTitle(QStringLiteral("Wybór litery"));
    m_letter = new QLineEdit(this);
    m_letter->setObjectName(QStringLiteral("100"));
    auto *label = new QLabel(QStringLiteral("Doskonalona litera:"), this);
    label->setBuddy(m_letter);

    auto *ok = dialogButton(this, QStringLiteral("OK"), 1, true);
    auto *cancel = dialogButton(this, QStringLiteral("Anuluj"), 2);
    auto *help = dialogButton(this, QStringLiteral("Pomoc"), 998);

    auto *field = new QVBoxLayout;
    field->addWidget(label);
    field->addWidget(m_letter);
    field->addStretch();
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(field, 1);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &TChoseKeyDlg::tryAccept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { Help::show(this, Help::LessonList); });
}

void TChoseKeyDlg::tryAccept()
{
    const QList<uint> text = m_letter->text().toUcs4();
    int number = 0;
    if (!text.isEmpty()) {
        if (const auto byte = textcodec::byteOf(text.first()))
            number = letterLessonNumber(*byte);
    }
    if (number > 0) {
        m_lessonNumber = number;
        accept();
        return;
    }
    Messages::stop(this, QStringLiteral("Stop"), QStringLiteral("Nie ma przewidzianej osobnej lekcji dla tej litery"));
    m_letter->setFocus();
}

#include "app/tendinfodlg.h"

#include "widgets/dialogbuttons.h"
#include "widgets/help.h"
#include "widgets/keyguard.h"
#include "widgets/viewzoom.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TEndInfoDlg::TEndInfoDlg(QWidget *parent, const QString &text, Choice defaultChoice)
    : QDialog(parent)
{
    new KeyGuard(this);
    setWindowTitle(QStringLiteral("Koniec lekcji"));
    auto *message = new QLabel(text, this);
    message->setObjectName(QStringLiteral("100"));
    message->setAlignment(Qt::AlignCenter);
    message->setWordWrap(true);
    message->setMinimumWidth(ViewZoom::scaled(460));

    auto *buttons = new QHBoxLayout;
    auto addButton = [this, buttons](const QString &caption, int id, bool isDefault = false) {
        QPushButton *button = dialogButton(this, caption, id, isDefault);
        buttons->addWidget(button);
        return button;
    };
    QPushButton *yes = addButton(QStringLiteral("Tak"), Next, defaultChoice != Repeat);
    QPushButton *no = addButton(QStringLiteral("Nie"), No);
    QPushButton *repeat = addButton(QStringLiteral("Powtórz"), Repeat, defaultChoice == Repeat);
    (defaultChoice == Repeat ? repeat : yes)->setFocus();
    QPushButton *help = addButton(QStringLiteral("Pomoc"), 998);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(message);
    layout->addLayout(buttons);

    connect(yes, &QPushButton::clicked, this, [this] { done(Next); });
    connect(no, &QPushButton::clicked, this, [this] { done(No); });
    connect(repeat, &QPushButton::clicked, this, [this] { done(Repeat); });
    connect(help, &QPushButton::clicked, this, [this] { Help::show(this, Help::EndOfLesson); });
}

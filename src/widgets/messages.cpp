#include "widgets/messages.h"

#include "widgets/keyguard.h"

#include <QMessageBox>
#include <QPushButton>

namespace Messages {
namespace {

Hook &hook()
{
    static Hook installed;
    return installed;
}

bool show(QWidget *parent, Kind kind, const QString &caption, const QString &text, bool guardKeys = false)
{
    if (hook())
        return hook()(kind, caption, text);

    QMessageBox box(parent);
    if (guardKeys)
        new KeyGuard(&box);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (kind) {
    case Kind::Plain:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Kind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Kind::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
    case Kind::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    if (kind == Kind::Question) {
        QPushButton *yes = box.addButton(QStringLiteral("&Tak"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("&Nie"), QMessageBox::NoRole);
        box.setDefaultButton(no);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes;
    }
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return true;
}

} // namespace

void setHook(Hook h)
{
    hook() = std::move(h);
}

void plain(QWidget *parent, const QString &caption, const QString &text, bool guardKeys)
{
    show(parent, Kind::Plain, caption, text, guardKeys);
}

void information(QWidget *parent, const QString &caption, const QString &text, bool guardKeys)
{
    show(parent, Kind::Information, caption, text, guardKeys);
}

void stop(QWidget *parent, const QString &caption, const QString &text)
{
    show(parent, Kind::Stop, caption, text);
}

bool ask(QWidget *parent, const QString &caption, const QString &text)
{
    return show(parent, Kind::Question, caption, text);
}

} // namespace Messages

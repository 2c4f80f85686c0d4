#include "widgets/dialogbuttons.h"

#include <QPushButton>

QPushButton *dialogButton(QWidget *dialog, const QString &text, int id, bool isDefault)
{
    auto *button = new QPushButton(text, dialog);
    button->setObjectName(QString::number(id));
    button->setDefault(isDefault);
    return button;
}

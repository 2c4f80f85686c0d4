#include "app/aboutdlg.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

ABCAboutDlg::ABCAboutDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Informacje"));
    auto *text = new QLabel(this);
    text->setTextFormat(Qt::RichText);
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);
    text->setText(QStringLiteral("<h2>Palcomir</h2>"
                                 "<p>wersja %1</p>"
                                 "<p>Nauka pisania bezwzrokowego na klawiaturze komputera.</p>"
                                 "<p>Czcionka lekcji: DejaVu Sans Mono (licencja swobodna, zob. "
                                 "resources/fonts).<br>Słownik ćwiczeń: ranking słów @zxcvbn-ts/language-pl "
                                 "(MIT) sprawdzony słownikiem wpolish.</p>"
                                 "<p><small>Kliknij, aby zamknąć.</small></p>")
                      .arg(QCoreApplication::applicationVersion()));
    text->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    setMinimumWidth(420);
}

void ABCAboutDlg::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        accept();
    else
        QDialog::mousePressEvent(event);
}

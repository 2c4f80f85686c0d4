#include "app/aboutdlg.h"

#include "images/dibdrawing.h"
#include "images/gifresource.h"
#include "widgets/viewzoom.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

ABCAboutDlg::ABCAboutDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Informacje"));
    if (const ScaledPicture picture = loadScaledPicture(kPicture, screenScaleFactor()); picture.dib)
        m_picture = dibToImage(*picture.dib, picture.scale);
    if (hasPicture()) {
        setFixedSize(ViewZoom::scaled(kClientSize));
        return;
    }
    // Without its picture the box still says what it is.
    auto *text = new QLabel(this);
    text->setAlignment(Qt::AlignCenter);
    text->setText(
        QStringLiteral("Palcomir\nwersja %1\n\nKliknij, aby zamknąć.").arg(QCoreApplication::applicationVersion()));
    text->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    setMinimumWidth(ViewZoom::scaled(320));
}

void ABCAboutDlg::paintEvent(QPaintEvent *event)
{
    if (!hasPicture())
        return QDialog::paintEvent(event);
    QPainter painter(this);
    painter.scale(ViewZoom::factor(), ViewZoom::factor());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(0, 0, m_picture);
}

void ABCAboutDlg::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        accept();
    else
        QDialog::mousePressEvent(event);
}

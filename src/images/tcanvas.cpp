#include "images/tcanvas.h"

#include "images/dibdrawing.h"
#include "images/stretch.h"

#include <QPainter>

TCanvas::TCanvas(QWidget *parent)
    : QWidget(parent)
{ }

TCanvas::~TCanvas() = default;

void TCanvas::Idle()
{ }

void TCanvas::TogglePause()
{ }

void TCanvas::PaletteChanged(QWidget *changedBy)
{
    if (changedBy != this)
        realiseWindowPalette(this, logicalPalette(), true);
}

bool TCanvas::PaletteQuery()
{
    return realiseWindowPalette(this, logicalPalette(), true);
}

void TCanvas::setPicture(std::optional<PackedDib> picture, int scale)
{
    m_stretched = QImage();
    m_image = QImage();
    m_palette.reset();
    m_dib = std::move(picture);
    m_scale = m_dib ? scale : 1;
    if (m_dib) {
        m_palette = makePalette(*m_dib);
        m_image = dibToImage(*m_dib, m_scale);
    }
    update();
}

void TCanvas::drawPicture(QPainter &painter, int x, int y) const
{
    if (!m_image.isNull())
        painter.drawImage(x, y, m_image);
}

void TCanvas::drawPictureStretched(QPainter &painter, int x, int y, int width, int height)
{
    if (m_image.isNull())
        return;
    const QSize shown = pictureSize();
    PictureSize size = stretchedSize(shown.width(), shown.height(), width, height);
    size.width *= m_scale;
    size.height *= m_scale;
    if (m_stretched.width() != size.width || m_stretched.height() != size.height)
        m_stretched = stretchImage(m_image, size.width, size.height);
    if (!m_stretched.isNull())
        painter.drawImage(x, y, m_stretched);
}

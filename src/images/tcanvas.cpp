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

void TCanvas::setPicture(std::optional<PackedDib> picture)
{
    m_stretched = QImage();
    m_image = QImage();
    m_palette.reset();
    m_dib = std::move(picture);
    if (m_dib) {
        m_palette = makePalette(*m_dib);
        m_image = dibToImage(*m_dib);
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
    const PictureSize size = stretchedSize(m_image.width(), m_image.height(), width, height);
    if (m_stretched.width() != size.width || m_stretched.height() != size.height)
        m_stretched = stretchImage(m_image, size.width, size.height);
    if (!m_stretched.isNull())
        painter.drawImage(x, y, m_stretched);
}

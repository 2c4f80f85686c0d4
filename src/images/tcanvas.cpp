#include "images/tcanvas.h"

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
    if (changedBy != this && hasPicture())
        update();
}

void TCanvas::setPicture(QImage picture)
{
    m_picture = std::move(picture);
    update();
}

void TCanvas::drawPicture(QPainter &painter, int x, int y) const
{
    if (hasPicture())
        painter.drawImage(x, y, m_picture);
}

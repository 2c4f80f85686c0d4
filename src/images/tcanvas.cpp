#include "images/tcanvas.h"

#include "images/dibdrawing.h"
#include "images/gifresource.h"
#include "images/stretch.h"
#include "widgets/viewzoom.h"

#include <cmath>

#include <QPainter>

TCanvas::TCanvas(QWidget *parent)
    : QWidget(parent)
    , m_zoom(ViewZoom::factor())
{ }

void TCanvas::setZoom(qreal zoom)
{
    const bool changed = zoom != m_zoom;
    m_zoom = zoom;
    // The program's zoom is set before its windows are told of it.
    if (hasPicture() && ::pictureScale(screenScaleFactor()) != m_scale)
        loadPictures();
    if (changed)
        update();
}

QSize TCanvas::layoutSize() const
{
    return QSize(int(width() / m_zoom), int(height() / m_zoom)).boundedTo(ViewZoom::kLayoutSize);
}

QTransform TCanvas::layoutTransform() const
{
    const QSize shown = layoutSize();
    const qreal left = std::max(0.0, (width() - shown.width() * m_zoom) / 2);
    const qreal top = std::max(0.0, (height() - shown.height() * m_zoom) / 2);
    return QTransform::fromTranslate(qRound(left), qRound(top)).scale(m_zoom, m_zoom);
}

void TCanvas::loadPictures()
{ }

void TCanvas::beginLayoutPaint(QPainter &painter) const
{
    const QTransform transform = layoutTransform();
    const QRect shown = transform.mapRect(QRectF(QPointF(), QSizeF(layoutSize()))).toAlignedRect();
    if (!shown.contains(rect())) {
        const QRegion around = QRegion(rect()) - shown;
        for (const QRect &r : around)
            painter.fillRect(r, palette().color(QPalette::Window));
    }
    painter.setTransform(transform);
    if (m_zoom != std::floor(m_zoom))
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

QRect TCanvas::layoutRect(const QRect &windowRect) const
{
    return layoutTransform().inverted().mapRect(QRectF(windowRect)).toAlignedRect();
}

QPointF TCanvas::layoutPoint(QPointF windowPoint) const
{
    return layoutTransform().inverted().map(windowPoint);
}

void TCanvas::updateLayout(const QRect &area)
{
    update(layoutTransform().mapRect(QRectF(area)).toAlignedRect().adjusted(-1, -1, 1, 1));
}

void TCanvas::updateLayout(const QRegion &area)
{
    for (const QRect &r : area)
        updateLayout(r);
}

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

#pragma once

#include "images/packeddib.h"

#include <optional>

#include <QImage>
#include <QTransform>
#include <QWidget>

// A window that owns one picture and its palette: the base of the lesson
// window and the title screen. The derived class loads and replaces the
// picture; the canvas keeps it, shows it through an image made once when the
// picture is set, and frees the picture and palette when they are replaced or
// the window goes.
class TCanvas : public QWidget
{
    Q_OBJECT

public:
    explicit TCanvas(QWidget *parent = nullptr);
    ~TCanvas() override;

    // A hook that nothing fills; kept so every canvas answers the same calls.
    virtual void Idle();
    // The main window's pause command; only a lesson pauses.
    virtual void TogglePause();
    // The system palette changed because of changedBy. A change made by
    // another window has this one realise its own palette again; one made by
    // this window changes nothing.
    virtual void PaletteChanged(QWidget *changedBy);
    // Asked before the window becomes active: realises its palette; true
    // when there was one to realise.
    bool PaletteQuery();

    // The zoom the window is drawn at: the program's zoom when it was made,
    // then what the main window sets. The pictures are loaded again when the
    // zoom needs them at the other size.
    void setZoom(qreal zoom);
    qreal zoom() const { return m_zoom; }
    // The size of the layout in layout pixels: the window's size at the zoom,
    // at most 640 x 480. A larger window (a full screen) shows it centred.
    QSize layoutSize() const;
    // Layout pixels to the window's pixels.
    QTransform layoutTransform() const;

    bool hasPicture() const { return m_dib.has_value(); }
    // The picture as it is drawn (a null image when there is none); one
    // drawn at twice the size has a device pixel ratio of 2.
    const QImage &picture() const { return m_image; }
    // The picture's size in the window's layout, whatever size it was drawn at.
    QSize pictureSize() const { return m_image.deviceIndependentSize().toSize(); }
    // How many times its ordinary size the picture was drawn at.
    int pictureScale() const { return m_scale; }
    const PackedDib *dib() const { return m_dib ? &*m_dib : nullptr; }
    const LogicalPalette *logicalPalette() const { return m_palette ? &*m_palette : nullptr; }

protected:
    // Loads the pictures for the zoom in force; called again when the zoom
    // changes the size the pictures are drawn at.
    virtual void loadPictures();
    // Starts a paint in layout pixels: fills what lies around the layout with
    // the window's colour and sets the painter to the layout's transform.
    void beginLayoutPaint(QPainter &painter) const;
    // The part of the layout a rectangle of the window covers (rounded out).
    QRect layoutRect(const QRect &windowRect) const;
    QPointF layoutPoint(QPointF windowPoint) const;
    // Repaints what a rectangle or a region of the layout covers.
    void updateLayout(const QRect &area);
    void updateLayout(const QRegion &area);

    // Frees the old picture and palette, takes the new picture (nothing
    // means none), drawn at `scale` times its ordinary size, makes its
    // palette and repaints.
    void setPicture(std::optional<PackedDib> picture, int scale = 1);
    // Draws the picture unscaled with its top-left corner at (x, y).
    void drawPicture(QPainter &painter, int x, int y) const;
    // Draws the picture into a width x height rectangle at (x, y); width 0
    // makes height a percentage of the picture's size (in the layout). The
    // stretched image, with all the pixels of a larger picture, is made once
    // for each new size.
    void drawPictureStretched(QPainter &painter, int x, int y, int width, int height);

private:
    std::optional<PackedDib> m_dib;
    std::optional<LogicalPalette> m_palette;
    QImage m_image;
    QImage m_stretched;
    int m_scale = 1;
    qreal m_zoom;
};

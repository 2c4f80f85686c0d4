#pragma once

#include "images/packeddib.h"

#include <optional>

#include <QImage>
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
};

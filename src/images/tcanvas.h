#pragma once

#include <QImage>
#include <QWidget>

// A window that owns one picture: the base of the lesson window and the
// title screen. The derived class loads and replaces the picture; the
// canvas only keeps it and says whether there is one.
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
    // The picture's colours changed on the display because of another
    // window; a canvas with a picture repaints itself.
    virtual void PaletteChanged(QWidget *changedBy);

    bool hasPicture() const { return !m_picture.isNull(); }
    const QImage &picture() const { return m_picture; }

protected:
    // Replaces the picture (a null image means none) and repaints.
    void setPicture(QImage picture);
    // Draws the picture unscaled with its top-left corner at (x, y).
    void drawPicture(QPainter &painter, int x, int y) const;

private:
    QImage m_picture;
};

#pragma once

#include <QImage>
#include <QWidget>

// "Ściąga": the fingering chart, a picture in a thin border without a
// caption bar, centred on the screen. Any key or a left click closes it.
class THintWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kPicture = 300;

    explicit THintWindow(QWidget *parent = nullptr);

    bool hasPicture() const { return !m_picture.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
};

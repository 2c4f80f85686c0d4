#pragma once

#include <QDialog>
#include <QImage>

// "Informacje": one picture with the program's name, version and credits.
// A click anywhere closes it, as Escape does. Like every dialog it opens
// centred over the main window.
class ABCAboutDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kPicture = 200;
    // The box shows the top 357 rows of its 375-row picture.
    static constexpr QSize kClientSize { 500, 357 };

    explicit ABCAboutDlg(QWidget *parent = nullptr);

    bool hasPicture() const { return !m_picture.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
};

#pragma once

#include "images/tcanvas.h"

#include <QBasicTimer>

// The title screen, shown whenever no lesson runs: a slideshow of the title
// page and pages of advice on posture and the workplace. A page stays for 31
// seconds; a click shows the next one at once.
class TTitle : public TCanvas
{
    Q_OBJECT

public:
    static constexpr int kPageCount = 6;
    static constexpr int kTicksPerPage = 30; // the countdown from 30 to 0: 31 ticks

    explicit TTitle(QWidget *parent = nullptr);

    int PictureNo() const { return m_pictureNo; }
    int Countdown() const { return m_countdown; }

    // One tick of the one-second timer.
    void tick();
    void nextPage();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void loadPictures() override;

private:
    void showPage(int number);

    int m_pictureNo = 0;
    int m_countdown = kTicksPerPage;
    QBasicTimer m_timer;
};

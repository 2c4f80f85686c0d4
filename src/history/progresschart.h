#pragma once

#include "history/lessonrecord.h"

#include <vector>

#include <QWidget>

// The chart of "Postępy": speed (keystrokes per minute, left scale) and
// accuracy (per cent, right scale) of every finished lesson, oldest on the
// left, one step per lesson. A suggested lesson's points are filled squares,
// any other lesson's hollow circles. Drawn with QPainter: a few lines and
// points need no chart module.
class ProgressChart : public QWidget
{
    Q_OBJECT

public:
    explicit ProgressChart(QWidget *parent = nullptr);

    void setLessons(const std::vector<LessonRecord> &lessons);
    int pointCount() const { return int(m_points.size()); }
    // The top of the speed scale: a round number above the fastest lesson.
    int speedScale() const { return m_speedScale; }

    QSize sizeHint() const override { return { 600, 200 }; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Point {
        float speed;
        float accuracy;
        bool suggested;
    };
    std::vector<Point> m_points;
    int m_speedScale = 100;
    QString m_firstDate;
    QString m_lastDate;
};

#pragma once

#include "history/lessonrecord.h"

#include <vector>

#include <QDate>
#include <QStringList>
#include <QWidget>

// The chart of "Postępy": speed (keystrokes per minute, left scale) and
// accuracy (per cent, right scale, fitted to the lessons) of every finished
// lesson, oldest on the left, one step per lesson, each day named once
// below. The course's lessons and the others are two series: filled squares
// on solid lines, hollow circles on dashed ones. Drawn with QPainter: a few
// lines and points need no chart module.
class ProgressChart : public QWidget
{
    Q_OBJECT

public:
    explicit ProgressChart(QWidget *parent = nullptr);

    void setLessons(const std::vector<LessonRecord> &lessons);
    int pointCount() const { return int(m_points.size()); }
    // The top of the speed scale: a round number above the fastest lesson.
    int speedScale() const { return m_speedScale; }
    AccuracyAxis accuracyScale() const { return m_accuracyAxis; }
    // The day labels below the plot, in order.
    QStringList dayLabels() const;

    QSize sizeHint() const override { return { 600, 200 }; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Point {
        float speed;
        float accuracy;
        bool course;
        QDate day;
    };
    std::vector<Point> m_points;
    int m_speedScale = 100;
    AccuracyAxis m_accuracyAxis;
};

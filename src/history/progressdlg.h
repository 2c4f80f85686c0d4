#pragma once

#include "history/lessonrecord.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QDialog>

class ProgressChart;
class QTableWidget;

// "Postępy": the current student's lessons over time as a chart, the last
// results, and the best result of each lesson of the course.
class ProgressDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kLastResults = 20;

    // A library lesson's title (UTF-8), or nothing.
    using TitleOf = std::function<std::optional<std::string>(int number)>;

    // lessons: in the order they were finished. The course runs from
    // firstCourseLesson to one before courseLimit.
    ProgressDlg(QWidget *parent, const QString &student, const std::vector<LessonRecord> &lessons,
        const TitleOf &titleOf, int firstCourseLesson, int courseLimit);

    ProgressChart *chart() const { return m_chart; }
    QTableWidget *lastResults() const { return m_last; }
    QTableWidget *bestResults() const { return m_best; }

private:
    ProgressChart *m_chart = nullptr;
    QTableWidget *m_last = nullptr;
    QTableWidget *m_best = nullptr;
};

// How the history's tables show a lesson's figures.
QString historyDate(std::int64_t when); // "09.12.2026 14:05"
QString historyDuration(std::uint32_t seconds); // "3:07"
QString historySpeed(float speed); // "123.4"
QString historyAccuracy(float accuracy); // "97.5 %"

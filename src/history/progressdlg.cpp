#include "history/progressdlg.h"

#include "history/progresschart.h"
#include "widgets/dialogbuttons.h"
#include "widgets/help.h"
#include "widgets/viewzoom.h"

#include <cmath>

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidget *resultTable(QWidget *parent, const QStringList &headers, int rows)
{
    auto *table = new QTableWidget(rows, int(headers.size()), parent);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    return table;
}

void setRow(QTableWidget *table, int row, const QStringList &cells)
{
    for (int column = 0; column < cells.size(); ++column) {
        auto *item = new QTableWidgetItem(cells[column]);
        if (column >= 2)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, column, item);
    }
}

QString fixed1(double value)
{
    return QString::number(std::isfinite(value) ? value : 0.0, 'f', 1);
}

} // namespace

QString historyDate(std::int64_t when)
{
    return QDateTime::fromSecsSinceEpoch(when).toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

QString historyDuration(std::uint32_t seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString historySpeed(float speed)
{
    return fixed1(speed);
}

QString historyAccuracy(float accuracy)
{
    return fixed1(accuracy) + QStringLiteral(" %");
}

ProgressDlg::ProgressDlg(QWidget *parent, const QString &student, const std::vector<LessonRecord> &lessons,
    const TitleOf &titleOf, int firstCourseLesson, int courseLimit)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Postępy — ") + student);
    setObjectName(QStringLiteral("22010"));
    resize(ViewZoom::scaled(QSize(620, 460)));

    const auto label = [&titleOf](const LessonRecord &r) {
        const bool library = r.kind == LessonKind::Stored;
        return QString::fromStdString(lessonLabel(r, library && titleOf ? titleOf(r.number) : std::nullopt));
    };

    m_chart = new ProgressChart(this);
    m_chart->setLessons(lessons);

    const int shown = std::min<int>(kLastResults, int(lessons.size()));
    m_last = resultTable(this,
        { QStringLiteral("Data"), QStringLiteral("Lekcja"), QStringLiteral("Czas"), QStringLiteral("Szybkość"),
            QStringLiteral("Poprawność") },
        shown);
    for (int row = 0; row < shown; ++row) {
        const LessonRecord &r = lessons[lessons.size() - 1 - std::size_t(row)];
        setRow(m_last, row,
            { historyDate(r.when), label(r), historyDuration(r.seconds), historySpeed(r.speed),
                historyAccuracy(r.accuracy) });
    }

    const std::vector<LessonRecord> best = bestOfCourse(lessons, firstCourseLesson, courseLimit);
    m_best = resultTable(this,
        { QStringLiteral("Data"), QStringLiteral("Lekcja kursu"), QStringLiteral("Czas"),
            QStringLiteral("Najlepsza szybkość"), QStringLiteral("Poprawność") },
        int(best.size()));
    for (int row = 0; row < int(best.size()); ++row) {
        const LessonRecord &r = best[std::size_t(row)];
        setRow(m_best, row,
            { historyDate(r.when), label(r), historyDuration(r.seconds), historySpeed(r.speed),
                historyAccuracy(r.accuracy) });
    }

    auto *close = dialogButton(this, QStringLiteral("&Zamknij"), 1, true);
    auto *help = dialogButton(this, QStringLiteral("&Pomoc"), 998);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(help, &QPushButton::clicked, this, [this] { Help::show(this, Help::Progress); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addWidget(help);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_chart, 3);
    layout->addWidget(new QLabel(QStringLiteral("Ostatnie wyniki:"), this));
    layout->addWidget(m_last, 2);
    layout->addWidget(new QLabel(QStringLiteral("Najlepsze wyniki lekcji kursu:"), this));
    layout->addWidget(m_best, 1);
    layout->addLayout(buttons);
    close->setFocus();
}

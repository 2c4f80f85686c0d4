#include "history/progresschart.h"
#include "widgets/viewzoom.h"

#include <algorithm>
#include <cmath>

#include <QDateTime>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kSpeedColour(0, 0, 192);
const QColor kAccuracyColour(0, 128, 0);
// Markers are drawn while they stay apart; a long history is lines only.
constexpr int kMarkerSpacing = 6;

} // namespace

ProgressChart::ProgressChart(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setMinimumHeight(ViewZoom::scaled(160));
}

void ProgressChart::setLessons(const std::vector<LessonRecord> &lessons)
{
    m_points.clear();
    m_points.reserve(lessons.size());
    float fastest = 0.0F;
    for (const LessonRecord &r : lessons) {
        const float speed = std::isfinite(r.speed) ? std::clamp(r.speed, 0.0F, 9999.0F) : 0.0F;
        const float accuracy = std::isfinite(r.accuracy) ? std::clamp(r.accuracy, 0.0F, 100.0F) : 0.0F;
        m_points.push_back({ speed, accuracy, isCourseLesson(r), QDateTime::fromSecsSinceEpoch(r.when).date() });
        fastest = std::max(fastest, speed);
    }
    // A multiple of 200, so every quarter of the scale is a round number.
    m_speedScale = std::max(100, int(std::ceil(fastest / 200.0F)) * 200);
    m_accuracyAxis = accuracyAxis(lessons);
    update();
}

QStringList ProgressChart::dayLabels() const
{
    QStringList labels;
    QDate last;
    for (const Point &point : m_points) {
        if (point.day != last)
            labels << point.day.toString(QStringLiteral("dd.MM.yyyy"));
        last = point.day;
    }
    return labels;
}

void ProgressChart::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm = fontMetrics();
    const int labelWidth = fm.horizontalAdvance(QStringLiteral("10000")) + 6;
    const QRect plot = rect().adjusted(labelWidth, fm.height() + 8, -labelWidth, -fm.height() - 6);
    if (plot.width() < 10 || plot.height() < 10)
        return;
    const AccuracyAxis axis = m_accuracyAxis;
    const int accuracySpan = std::max(1, axis.high - axis.low);

    // The scales: speed on the left, accuracy on the right, four steps each.
    p.setPen(QColor(200, 200, 200));
    for (int step = 0; step <= 4; ++step) {
        const int y = plot.bottom() - plot.height() * step / 4;
        p.drawLine(plot.left(), y, plot.right(), y);
        p.setPen(kSpeedColour);
        p.drawText(QRect(0, y - fm.height() / 2, labelWidth - 4, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
            QString::number(m_speedScale * step / 4));
        p.setPen(kAccuracyColour);
        p.drawText(QRect(plot.right() + 4, y - fm.height() / 2, labelWidth, fm.height()),
            Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("%1%").arg(axis.low + accuracySpan * step / 4));
        p.setPen(QColor(200, 200, 200));
    }
    p.setPen(palette().color(QPalette::Text));
    p.drawRect(plot);

    // The legend above the plot.
    const int legendY = fm.ascent() + 2;
    int x = plot.left();
    const auto legend = [&](const QColor &colour, const QString &text) {
        p.setPen(colour);
        p.drawText(x, legendY, text);
        x += fm.horizontalAdvance(text) + 16;
    };
    legend(kSpeedColour, QStringLiteral("Szybkość (znaki/min)"));
    legend(kAccuracyColour, QStringLiteral("Poprawność (%)"));
    legend(palette().color(QPalette::Text), QStringLiteral("■ —— lekcje kursu   ○ - - inne lekcje"));

    if (m_points.empty()) {
        p.setPen(palette().color(QPalette::Text));
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("Brak ukończonych lekcji."));
        return;
    }

    const int n = int(m_points.size());
    const auto xAt
        = [&](int i) { return n == 1 ? plot.center().x() : plot.left() + 6 + double(plot.width() - 12) * i / (n - 1); };
    const auto ySpeed = [&](float v) { return plot.bottom() - double(plot.height()) * v / m_speedScale; };
    const auto yAccuracy = [&](float v) {
        const double inAxis = std::clamp(double(v), double(axis.low), double(axis.high)) - axis.low;
        return plot.bottom() - double(plot.height()) * inAxis / accuracySpan;
    };
    const bool markers = n == 1 || (plot.width() - 12) / (n - 1) >= kMarkerSpacing;

    // Each day is named once, under its first lesson, where there is room.
    p.setPen(palette().color(QPalette::Text));
    int freeFrom = plot.left();
    QDate last;
    for (int i = 0; i < n; ++i) {
        const QDate day = m_points[std::size_t(i)].day;
        if (day == last)
            continue;
        last = day;
        const QString label = day.toString(QStringLiteral("dd.MM.yyyy"));
        const int width = fm.horizontalAdvance(label);
        const int left = std::clamp(int(xAt(i)) - width / 2, plot.left(), plot.right() - width);
        if (left < freeFrom)
            continue;
        p.drawText(left, plot.bottom() + 3 + fm.ascent(), label);
        freeFrom = left + width + fm.horizontalAdvance(QLatin1Char(' ')) * 2;
    }

    for (const auto &[colour, value] :
        { std::pair { kSpeedColour, &Point::speed }, std::pair { kAccuracyColour, &Point::accuracy } }) {
        const bool speed = value == &Point::speed;
        const auto at = [&](int i) {
            const float v = m_points[std::size_t(i)].*value;
            return QPointF(xAt(i), speed ? ySpeed(v) : yAccuracy(v));
        };
        // The course's lessons and the others, each its own line.
        for (const bool course : { true, false }) {
            QPainterPath line;
            for (int i = 0; i < n; ++i) {
                if (m_points[std::size_t(i)].course != course)
                    continue;
                if (line.elementCount() == 0)
                    line.moveTo(at(i));
                else
                    line.lineTo(at(i));
            }
            p.setPen(QPen(colour, 1.5, course ? Qt::SolidLine : Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawPath(line);
        }
        if (!markers)
            continue;
        p.setPen(QPen(colour, 1.5));
        for (int i = 0; i < n; ++i) {
            if (m_points[std::size_t(i)].course) {
                p.setBrush(colour);
                p.drawRect(QRectF(at(i).x() - 3.5, at(i).y() - 3.5, 7, 7));
            } else {
                p.setBrush(palette().color(QPalette::Base));
                p.drawEllipse(at(i), 3.5, 3.5);
            }
        }
    }
}

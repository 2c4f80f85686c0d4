#include "history/progresschart.h"

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

QString dateOf(std::int64_t when)
{
    return QDateTime::fromSecsSinceEpoch(when).toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

ProgressChart::ProgressChart(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setMinimumHeight(160);
}

void ProgressChart::setLessons(const std::vector<LessonRecord> &lessons)
{
    m_points.clear();
    m_points.reserve(lessons.size());
    float fastest = 0.0F;
    for (const LessonRecord &r : lessons) {
        const float speed = std::isfinite(r.speed) ? std::clamp(r.speed, 0.0F, 9999.0F) : 0.0F;
        const float accuracy = std::isfinite(r.accuracy) ? std::clamp(r.accuracy, 0.0F, 100.0F) : 0.0F;
        m_points.push_back({ speed, accuracy, r.suggested });
        fastest = std::max(fastest, speed);
    }
    // A multiple of 200, so every quarter of the scale is a round number.
    m_speedScale = std::max(100, int(std::ceil(fastest / 200.0F)) * 200);
    m_firstDate = lessons.empty() ? QString() : dateOf(lessons.front().when);
    m_lastDate = lessons.empty() ? QString() : dateOf(lessons.back().when);
    update();
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
            Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("%1%").arg(25 * step));
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
    legend(palette().color(QPalette::Text), QStringLiteral("■ sugerowana   ○ inna"));

    if (m_points.empty()) {
        p.setPen(palette().color(QPalette::Text));
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("Brak ukończonych lekcji."));
        return;
    }
    p.setPen(palette().color(QPalette::Text));
    p.drawText(QRect(plot.left(), plot.bottom() + 3, plot.width(), fm.height()), Qt::AlignLeft, m_firstDate);
    p.drawText(QRect(plot.left(), plot.bottom() + 3, plot.width(), fm.height()), Qt::AlignRight, m_lastDate);

    const int n = int(m_points.size());
    const auto xAt
        = [&](int i) { return n == 1 ? plot.center().x() : plot.left() + 6 + double(plot.width() - 12) * i / (n - 1); };
    const auto ySpeed = [&](float v) { return plot.bottom() - double(plot.height()) * v / m_speedScale; };
    const auto yAccuracy = [&](float v) { return plot.bottom() - double(plot.height()) * v / 100.0; };
    const bool markers = n == 1 || (plot.width() - 12) / (n - 1) >= kMarkerSpacing;

    for (const auto &[colour, value] :
        { std::pair { kSpeedColour, &Point::speed }, std::pair { kAccuracyColour, &Point::accuracy } }) {
        const bool speed = value == &Point::speed;
        QPainterPath line;
        for (int i = 0; i < n; ++i) {
            const QPointF at(
                xAt(i), speed ? ySpeed(m_points[std::size_t(i)].*value) : yAccuracy(m_points[std::size_t(i)].*value));
            if (i == 0)
                line.moveTo(at);
            else
                line.lineTo(at);
        }
        p.setPen(QPen(colour, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
        if (!markers)
            continue;
        for (int i = 0; i < n; ++i) {
            const Point &point = m_points[std::size_t(i)];
            const QPointF at(xAt(i), speed ? ySpeed(point.*value) : yAccuracy(point.*value));
            if (point.suggested) {
                p.setBrush(colour);
                p.drawRect(QRectF(at.x() - 3.5, at.y() - 3.5, 7, 7));
            } else {
                p.setBrush(palette().color(QPalette::Base));
                p.drawEllipse(at, 3.5, 3.5);
            }
        }
    }
}

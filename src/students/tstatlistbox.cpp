#include "students/tstatlistbox.h"

#include "widgets/textcodec.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kSlotRole = Qt::UserRole;

const QColor kSpeedColour(0, 0, 192);
// Accuracy by its level: a good one must not look as bad as a poor one.
const QColor kGoodColour(0, 144, 0);
const QColor kFairColour(224, 150, 0);
const QColor kPoorColour(192, 0, 0);

QColor accuracyColour(const TCharStat &stat)
{
    switch (accuracyLevel(stat)) {
    case AccuracyLevel::Good:
        return kGoodColour;
    case AccuracyLevel::Fair:
        return kFairColour;
    case AccuracyLevel::Poor:
        break;
    }
    return kPoorColour;
}

// The capitals that reach highest above the line: the row must hold their marks.
int realAscent(const QFontMetrics &metrics)
{
    return std::max(metrics.ascent(), -metrics.tightBoundingRect(QStringLiteral("ŹŻĆŃŚÓĄĘŁ")).top());
}

class StatRowDelegate : public QStyledItemDelegate
{
public:
    explicit StatRowDelegate(TStatListBox *list)
        : QStyledItemDelegate(list)
        , m_list(list)
    { }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QListWidgetItem *item = m_list->item(index.row());
        if (!item)
            return;
        const QRect &r = option.rect;
        const StatRowLayout cells = statRowLayout(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
        const int height = cells.bottom - cells.top;
        const TCharStat &stat = m_list->statOf(item);
        const StatMode mode = m_list->mode();
        const QColor colour = mode == StatMode::Speed ? kSpeedColour : accuracyColour(stat);
        // The text's line sits low enough for an accent over a capital.
        const QFontMetrics metrics(option.font);
        const int drop = std::min(std::max(0, realAscent(metrics) - metrics.ascent()), height);
        const int textTop = cells.top + drop;
        const int textHeight = height - drop;

        painter->save();
        painter->setFont(option.font);
        // The list's own text colour even on a selected row: selection shows nothing.
        painter->setPen(option.palette.color(QPalette::Active, QPalette::Text));
        painter->drawText(QRect(cells.nameLeft, textTop, cells.nameRight - cells.nameLeft, textHeight),
            Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, item->text());
        painter->setPen(colour);
        // A speed of a thousand or more is wider than its cell: it may reach
        // into the name cell rather than lose its first digit.
        painter->drawText(QRect(cells.valueLeft, textTop, cells.valueRight - cells.valueLeft, textHeight),
            Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip,
            QString::fromLatin1(statValueText(stat, mode)));
        const int bar = statBarLength(stat, mode, m_list->speedScale(), cells.barArea);
        if (bar > 0 && height > 0)
            painter->fillRect(QRect(cells.barLeft, cells.top, bar, height), colour);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QFontMetrics metrics(option.font);
        // The row's margins (one pixel each side), the marks above the
        // capitals, the descent and a pixel of air below.
        size.setHeight(std::max(size.height(), 2 + realAscent(metrics) + metrics.descent() + 1));
        return size;
    }

private:
    TStatListBox *m_list;
};

} // namespace

TStatListBox::TStatListBox(QWidget *parent, const TCharStats &stats)
    : QListWidget(parent)
    , m_stats(stats)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSortingEnabled(false);
    setItemDelegate(new StatRowDelegate(this));

    for (const StatRow &row : statRows(stats)) {
        auto *item = new QListWidgetItem(textcodec::toQString(row.name), this);
        item->setData(kSlotRole, row.slot);
    }
    m_speedScale = statSpeedScale(stats);
}

void TStatListBox::setMode(StatMode mode)
{
    if (m_mode == mode)
        return;
    m_mode = mode;
    viewport()->update();
}

const TCharStat &TStatListBox::statOf(const QListWidgetItem *item) const
{
    return m_stats[static_cast<std::size_t>(item->data(kSlotRole).toInt())];
}

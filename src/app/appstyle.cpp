#include "app/appstyle.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>
#include <QWidget>

namespace {

// Stands for a style's standard icon and asks the style for it when drawn.
class LaterIconEngine : public QIconEngine
{
public:
    LaterIconEngine(const QStyle *style, QStyle::StandardPixmap which, Qt::LayoutDirection direction)
        : m_style(style)
        , m_which(which)
        , m_direction(direction)
    { }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    // Asking the style would look the icon up; every style draws these arrows.
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("palcomir-later"); }
    QIconEngine *clone() const override { return new LaterIconEngine(*this); }

private:
    QIcon &icon()
    {
        if (!m_looked && m_style) {
            QStyleOption option;
            option.direction = m_direction;
            m_icon = m_style->standardIcon(m_which, &option);
            m_looked = true;
        }
        return m_icon;
    }

    QPointer<const QStyle> m_style;
    QStyle::StandardPixmap m_which;
    Qt::LayoutDirection m_direction;
    QIcon m_icon;
    bool m_looked = false;
};

} // namespace

QIcon AppStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option, const QWidget *widget) const
{
    if (standardIcon != SP_ToolBarHorizontalExtensionButton && standardIcon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    Qt::LayoutDirection direction = QGuiApplication::layoutDirection();
    if (widget)
        direction = widget->layoutDirection();
    else if (option)
        direction = option->direction;
    return QIcon(new LaterIconEngine(baseStyle(), standardIcon, direction));
}

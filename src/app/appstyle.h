#pragma once

#include <QProxyStyle>

// The desktop's own style, except that the tool bar extension arrows are
// looked up only when first drawn. Looking one up reads the lists of Qt's
// image and icon plugins, half a millisecond and more of every start, and the
// menu bar asks for its arrow as soon as it is made, though it shows it only
// when the menus do not fit: never in our fixed-size window.
class AppStyle : public QProxyStyle
{
    Q_OBJECT

public:
    // The style of that name (QStyleFactory's keys) stands behind this one.
    explicit AppStyle(const QString &key)
        : QProxyStyle(key)
    { }

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option = nullptr,
        const QWidget *widget = nullptr) const override;
};

#include "lessons/tlesson4.h"

#include "lessons/keypadkeys.h"
#include "settings/toptions.h"

#include <QPainter>

int TLesson4::markedKey(unsigned char next) const
{
    return keypadKeyFor(next, plusMark());
}

void TLesson4::DrawKeyboard(QPainter &painter, unsigned char next)
{
    // Draws the picture; the main keys are never marked in a keypad drill.
    TLesson1::DrawKeyboard(painter, 0);
    if (!options().ShowKeyb || !options().ShowNext || !hasPicture())
        return;
    const int key = markedKey(next);
    if (key < 0)
        return;
    const KeyArea &area = KeypadKeys[key].area;
    const int pictureTop = height() - picture().height();
    // Light key faces take the colour, dark outlines and labels stay.
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.fillRect(QRect(area.left, pictureTop + area.top, area.width, area.height), highlightColour());
    painter.restore();
}

bool TLesson4::SameKey(unsigned char a, unsigned char b) const
{
    return keypadSameKey(a, b, plusMark());
}

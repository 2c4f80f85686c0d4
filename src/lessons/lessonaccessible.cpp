#include "lessons/lessonaccessible.h"

#include "lessons/tlesson1.h"

LessonAccessible::LessonAccessible(TLesson1 *lesson)
    : QAccessibleWidget(lesson, QAccessible::EditableText)
{ }

QAccessibleInterface *LessonAccessible::create(const QString &, QObject *object)
{
    auto *lesson = qobject_cast<TLesson1 *>(object);
    return lesson ? new LessonAccessible(lesson) : nullptr;
}

const TLesson1 &LessonAccessible::lesson() const
{
    return *static_cast<const TLesson1 *>(object());
}

void *LessonAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString LessonAccessible::text(QAccessible::Text which) const
{
    if (which == QAccessible::Value)
        return lesson().typingLine();
    if (which == QAccessible::Description && lesson().accessibleDescription().isEmpty())
        return lesson().statusText();
    return QAccessibleWidget::text(which);
}

int LessonAccessible::cursorPosition() const
{
    return lesson().typingColumn();
}

QString LessonAccessible::text(int startOffset, int endOffset) const
{
    const QString line = lesson().typingLine();
    startOffset = qBound(0, startOffset, int(line.size()));
    endOffset = endOffset < 0 ? int(line.size()) : qBound(startOffset, endOffset, int(line.size()));
    return line.mid(startOffset, endOffset - startOffset);
}

int LessonAccessible::characterCount() const
{
    return int(lesson().typingLine().size());
}

QRect LessonAccessible::characterRect(int offset) const
{
    const QRect local = lesson().typingCharacterRect(offset);
    return local.isEmpty() ? QRect() : QRect(lesson().mapToGlobal(local.topLeft()), local.size());
}

int LessonAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint local = lesson().mapFromGlobal(point);
    for (int offset = 0; offset < characterCount(); ++offset) {
        if (lesson().typingCharacterRect(offset).contains(local))
            return offset;
    }
    return -1;
}

void LessonAccessible::selection(int, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
}

QString LessonAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = offset;
    return {};
}

#pragma once

#include <QAccessibleWidget>

class TLesson1;

// What a screen reader finds in a lesson: the line being typed as its text,
// the caret before the next character to type, and the lesson's figures as
// its description. Only typing moves the caret.
class LessonAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit LessonAccessible(TLesson1 *lesson);

    // For QAccessible::installFactory: the interface of every lesson window.
    static QAccessibleInterface *create(const QString &className, QObject *object);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text which) const override;

    int cursorPosition() const override;
    void setCursorPosition(int) override { }
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;

    void selection(int, int *startOffset, int *endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    void scrollToSubstring(int, int) override { }
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    const TLesson1 &lesson() const;
};

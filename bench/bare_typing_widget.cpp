// The reference for the outside keystroke measurement: a bare Qt widget in a
// 640 x 480 window that only draws what has been typed, in the lesson font.

#include "lessons/lessonfont.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

namespace {

class BareWidget : public QWidget
{
public:
    BareWidget()
    {
        setWindowTitle(QStringLiteral("Bare typing widget"));
        setFixedSize(640, 480);
        setFont(LessonFont::font());
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            m_lines.append(QString());
        else if (!event->text().isEmpty())
            m_lines.last() += event->text();
        update();
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setPen(Qt::blue);
        const int pitch = fontMetrics().height() * 2 + 10;
        // The last lines typed, as many as fit.
        const qsizetype rows = std::min<qsizetype>(m_lines.size(), 7);
        for (qsizetype i = 0; i < rows; ++i)
            painter.drawText(7, int(i) * pitch + fontMetrics().ascent(), m_lines[m_lines.size() - rows + i]);
    }

private:
    QStringList m_lines { QString() };
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    BareWidget widget;
    widget.show();
    return QApplication::exec();
}

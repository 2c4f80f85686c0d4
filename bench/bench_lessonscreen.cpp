// What a learner waits for after each key: the time from the key event to
// the end of the repaint it causes, in a real lesson window inside the main
// window, while a text longer than the screen is typed (so it scrolls).

#include "app/sdidecframe.h"
#include "benchstats.h"
#include "text/cp1250.h"
#include "lessons/lessonlibrary.h"
#include "lessons/tlesson1.h"
#include "settings/toptions.h"
#include "widgets/messages.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

namespace {

// Counts the paints of the lesson window.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

std::string practicalText()
{
    // A practical text's size: 138 lines of 70 characters, Polish letters included.
    const std::string letters = "abcdefghijklmnoprstuwyz\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF";
    std::string text = "Przepisz tekst.\r\n";
    for (int line = 0; line < 138; ++line) {
        if (line)
            text += "\r\n";
        for (int i = 0; i < 70; ++i)
            text += (i % 7 == 6) ? ' ' : letters[(line * 7 + i) % letters.size()];
    }
    return text;
}

// Processor time of this thread, in ms: unlike the wall clock it does not
// grow while other programs on a busy machine have the processor.
double threadCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Messages::setHook([](Messages::Kind, const QString &, const QString &) { return false; });

    constexpr int kNumber = 1301;
    LessonLibrary library;
    library.addText(kNumber, practicalText());

    std::vector<double> all;
    std::vector<double> cpu;
    std::vector<double> lineChanges;
    int keystrokes = 0;
    int painted = 0;
    for (int round = 0; round < 4; ++round) {
        TOptions options;
        options.ErrorType = round % 2; // waiting and accepting errors
        SDIDecFrame frame(library, options);
        frame.show();
        if (!QTest::qWaitForWindowExposed(&frame))
            return 2;
        if (!frame.startStoredLesson(kNumber))
            return 2;
        auto *lesson = qobject_cast<TLesson1 *>(frame.centralWidget());
        PaintCounter counter;
        lesson->installEventFilter(&counter);
        QApplication::processEvents();

        int n = 0;
        while (!lesson->isFinished()) {
            const unsigned char expected = lesson->engine().text().expectedChar;
            // Every 20th key is wrong.
            const bool wrong = ++n % 20 == 0;
            const int line = lesson->engine().currentLine();
            QString text;
            int key = Qt::Key_unknown;
            if (wrong) {
                text = QStringLiteral("q");
                key = Qt::Key_Q;
            } else if (expected == '\r') {
                text = QStringLiteral("\r");
                key = Qt::Key_Return;
            } else {
                text = QString(QChar(char16_t(cp1250::toCodePoint(expected))));
            }
            const int paintsBefore = counter.paints;
            const double cpuStart = threadCpuMs();
            const auto start = std::chrono::steady_clock::now();
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
            QApplication::sendEvent(lesson, &press);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
            const auto stop = std::chrono::steady_clock::now();
            const double ms = std::chrono::duration<double, std::milli>(stop - start).count();
            all.push_back(ms);
            cpu.push_back(threadCpuMs() - cpuStart);
            if (lesson->engine().currentLine() != line)
                lineChanges.push_back(ms);
            ++keystrokes;
            if (counter.paints > paintsBefore)
                ++painted;
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
            QApplication::sendEvent(lesson, &release);
        }
        QApplication::processEvents(); // the end of the lesson
    }

    std::string load;
    std::getline(std::ifstream("/proc/loadavg"), load);
    std::printf("%d keystrokes over a 138-line text, %d of them repainted the lesson (load average %s)\n", keystrokes,
        painted, load.c_str());
    const Percentiles lines = percentiles(lineChanges);
    std::printf("%-44s median %8.3f ms   p99 %8.3f ms   (%zu line changes)\n", "  of them line changes (scrolling)",
        lines.median, lines.p99, lineChanges.size());
    const Percentiles busy = percentiles(cpu);
    std::printf("%-44s median %8.3f ms   p99 %8.3f ms\n", "  processor time of this thread", busy.median, busy.p99);
    return report("key event to end of repaint", percentiles(all), "ms", 0.5, 2.0) ? 0 : 1;
}

// Resident memory of the program while a lesson takes random keys (any key
// code, any text, input-method commits, pauses): after the first 1,000
// events and after 100,000. Growth must stay within 1 MB.

#include "app/apppaths.h"
#include "app/sdidecframe.h"
#include "common/randomkeys.h"
#include "lessons/lessonlibrary.h"
#include "lessons/tlesson1.h"
#include "settings/toptions.h"
#include "widgets/messages.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Resident set size in KB.
long residentKb()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

std::string practicalText()
{
    std::string text = "Przepisz tekst.\r\n";
    const std::string letters = "abcdefghijklmnoprstuwyz\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF";
    for (int line = 0; line < 40; ++line) {
        if (line)
            text += "\r\n";
        for (int i = 0; i < 70; ++i)
            text += (i % 7 == 6) ? ' ' : letters[(line * 5 + i) % letters.size()];
    }
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Messages::setHook([](Messages::Kind, const QString &, const QString &) { return false; });
    QTemporaryDir dir; // the list and settings stay out of the home folder
    if (!dir.isValid() || !AppPaths::setDataDir(dir.path()))
        return 2;

    constexpr int kNumber = 1301;
    LessonLibrary library;
    library.addText(kNumber, practicalText());
    TOptions options;
    options.Click = false;
    SDIDecFrame frame(library, options);
    frame.show();
    if (!QTest::qWaitForWindowExposed(&frame))
        return 2;

    RandomKeys keys(20261209);
    long afterFirst = 0;
    int lessons = 0;
    constexpr int kEvents = 100000;
    TLesson1 *lesson = nullptr;
    for (int n = 1; n <= kEvents; ++n) {
        if (!lesson || lesson->isFinished()) {
            QApplication::processEvents(); // the end of the lesson, and the verdict
            options.ErrorType = lessons % 2;
            if (!frame.startStoredLesson(kNumber))
                return 2;
            lesson = qobject_cast<TLesson1 *>(frame.centralWidget());
            if (!lesson)
                return 2;
            ++lessons;
        }
        if (keys.pick(1000) == 0)
            lesson->TogglePause();
        else
            keys.send(lesson, lesson->engine().text().expectedChar);
        if (n % 64 == 0)
            QApplication::processEvents();
        if (n == 1000)
            afterFirst = residentKb();
    }
    QApplication::processEvents();
    const long afterAll = residentKb();
    const long growth = afterAll - afterFirst;
    const bool met = growth <= 1024;
    std::printf("%-44s %ld KB after 1,000, %ld KB after %d (%d lessons): growth %ld KB   target: <= 1024 KB   %s\n",
        "resident memory under random keys", afterFirst, afterAll, kEvents, lessons, growth, met ? "MET" : "MISSED");
    return met ? 0 : 1;
}

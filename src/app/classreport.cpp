#include "app/classreport.h"
#include "widgets/problemtext.h"

#include "app/apppaths.h"
#include "classroom/classroom.h"
#include "lessons/lessonlibrary.h"
#include "lessons/librarylocator.h"
#include "settings/settingsfile.h"
#include "students/studentstore.h"
#include "text/cp1250.h"

#include <cstdio>
#include <map>
#include <memory>

#include <QCollator>
#include <QDateTime>
#include <QDir>
#include <QLocale>

namespace ClassReport {
namespace {

constexpr int kExitFailed = 1;

void printLine(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
}

} // namespace

std::vector<ClassPupil> pupils(Classroom &classroom, const LessonLibrary &library)
{
    // In class mode: the class on the server, whichever computer its pupils used.
    const std::vector<TStudent> roster = classroom.classRoster();
    std::vector<std::string> ids;
    for (const TStudent &student : roster)
        ids.push_back(student.Id);
    std::map<std::string, std::vector<LessonRecord>> lessons = classroom.lessonsOf(ids);
    std::vector<ClassPupil> pupils;
    for (const TStudent &student : roster) {
        ClassPupil pupil;
        pupil.name = cp1250::toUtf8(student.Name);
        pupil.nextLesson = student.NextLesson;
        if (const std::optional<std::string> title = library.title(student.NextLesson))
            pupil.nextTitle = cp1250::toUtf8(*title);
        pupil.lessons = std::move(lessons[student.Id]);
        pupil.className = classroom.className();
        pupil.id = student.Id;
        pupils.push_back(std::move(pupil));
    }
    for (const auto &[id, name] : classroom.pupilsGone()) {
        ClassPupil pupil;
        pupil.name = cp1250::toUtf8(name);
        pupil.lessons = classroom.lessons(id);
        pupil.gone = true;
        pupil.id = id;
        pupils.push_back(std::move(pupil));
    }
    return pupils;
}

ReportSources sources(const LessonLibrary &library)
{
    ReportSources sources;
    sources.localTime = [](std::int64_t when) {
        return QDateTime::fromSecsSinceEpoch(when).toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString();
    };
    sources.title = [&library](int number) -> std::optional<std::string> {
        if (const std::optional<std::string> title = library.title(number))
            return cp1250::toUtf8(*title);
        return std::nullopt;
    };
    auto polish = std::make_shared<QCollator>(QLocale(QLocale::Polish, QLocale::Poland));
    sources.nameBefore = [polish](const std::string &a, const std::string &b) {
        return polish->compare(QString::fromStdString(a), QString::fromStdString(b)) < 0;
    };
    return sources;
}

int writeCsv(const StartupOptions &options)
{
    if (!options.dataDir.isEmpty() && !AppPaths::setDataDir(options.dataDir)) {
        printLine(QStringLiteral("Nie można utworzyć folderu danych %1.").arg(options.dataDir));
        return kExitFailed;
    }
    // The titles name the lessons as the window does.
    const LibraryLocator::Result found = LibraryLocator::load(options.libraryFile);
    if (!found.library) {
        printLine(found.errorMessage);
        return kExitFailed;
    }

    std::vector<ReportRow> rows;
    {
        int studentNo = -1;
        Classroom classroom(AppPaths::studentsFile(), AppPaths::dataFolder(), AppPaths::computerName(), studentNo);
        QObject::connect(
            &classroom, &Classroom::problem, [](const DataProblem &problem) { printLine(problemText(problem)); });
        LabSettings lab;
        SettingsFile::load(AppPaths::settingsFile(), AppPaths::defaultsFiles(), nullptr, &lab);
        classroom.useClassServer(lab);
        classroom.load();
        rows = reportRows(pupils(classroom, *found.library),
            { options.reportFrom.toStdString(), options.reportTo.toStdString() }, sources(*found.library));
    }
    const std::string csv = reportCsv(rows);
    if (!StudentStore::writeWhole(options.reportFile, csv.data(), qint64(csv.size()))) {
        printLine(QStringLiteral("Nie można zapisać pliku %1.").arg(QDir::toNativeSeparators(options.reportFile)));
        return kExitFailed;
    }
    return 0;
}

} // namespace ClassReport

#pragma once

#include "lessons/lessonlibrary.h"

#include <optional>

#include <QString>
#include <QStringList>

// Finds and reads the lesson library pisarz.src: the file given on the
// command line, else the one beside the executable, else the installed one
// (share/palcomir/ beside the program's bin/, then the configured data directory).
class LibraryLocator
{
public:
    static constexpr const char *kFileName = "pisarz.src";

    // Where to look, in order. An explicit file is the only candidate.
    static QStringList candidates(const QString &explicitFile);

    struct Result {
        std::optional<LessonLibrary> library;
        QString path; // the file that was read
        QString errorMessage; // Polish, for the learner, when library is empty
    };

    static Result load(const QString &explicitFile);
};

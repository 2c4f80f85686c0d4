#pragma once

#include <QString>
#include <QStringList>

// What the command line asked for.
struct StartupOptions {
    QString libraryFile; // --library FILE
    QString dataDir; // --data-dir DIR
    int lesson = 0; // --lesson N: start with stored lesson N running
    bool teacherPassword = false; // --teacher-password: make the line for the teacher's password, open no window
    QString reportFile; // --report FILE: write the lesson report and end, with no window
    QString reportFrom; // --from YYYY-MM-DD, the report's first day
    QString reportTo; // --to YYYY-MM-DD, its last
    bool exitNow = false;
    int exitCode = 0;
};

// The exit status of a command line the program cannot follow.
inline constexpr int kExitUsage = 2;

// Reads the command line (arguments[0] is the program). --help and --version
// print to standard output and set exitNow with status 0; an unknown option,
// a missing or bad value prints one Polish line to standard error and sets
// exitNow with kExitUsage. Needs no application object and touches no file,
// so it runs before the display is opened. Qt's own window-system options
// (-platform, -display, ...) are let through for QApplication.
StartupOptions parseCommandLine(const QStringList &arguments);

#pragma once

#include <QString>

// Where the learner's files live: the settings file and the student list
// under the user's configuration and data folders, or both in one folder
// given with --data-dir (the learning history lies beside the student list) (tests, portable use, shared classroom
// folders).
namespace AppPaths {

// Makes DIR the home of both files (created if missing). False when it cannot be made.
bool setDataDir(const QString &dir);

QString settingsFile(); // pisarz.ini
QString studentsFile(); // pisarz.sta
QString historyFile(); // palcomir.db, beside the student list

} // namespace AppPaths

#pragma once

#include <QString>
#include <QStringList>

// Where the learner's files live: the settings file and the student list
// under the user's configuration and data folders, or both in one folder
// given with --data-dir (the learning history lies beside the student list) (tests, portable use, shared classroom
// folders).
namespace AppPaths {

// Makes DIR the home of both files (created if missing). False when it cannot be made.
bool setDataDir(const QString &dir);

QString settingsFile(); // pisarz.ini
QString studentsFile(); // pisarz.sta
// The folder of the student list, where each computer keeps its history file.
QString dataFolder();
// What names this computer among those sharing a data folder: the host name
// and the start of the machine's identity, in letters safe in a file name.
QString computerName();

// A teacher's pisarz.ini in each of the system's configuration folders
// (palcomir/pisarz.ini under $XDG_CONFIG_DIRS, /etc/xdg by default), the most
// important first; the user's own configuration folder is not among them.
// The program only reads them.
QStringList defaultsFiles();

} // namespace AppPaths

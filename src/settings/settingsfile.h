#pragma once

#include "settings/labsettings.h"
#include "settings/teacherrules.h"
#include "settings/toptions.h"

#include <QString>
#include <QStringList>

// pisarz.ini on disk. Loading never fails (the defaults stand in for what
// cannot be read); saving keeps every other line of the file and replaces it
// atomically, so a crash or a full disk leaves the previous file whole.
namespace SettingsFile {

// defaultsFiles: a teacher's settings files, the most important first; each
// gives the keys that the user's file and the files before it lack. They are
// only ever read. Their [Nauczyciel] section goes to rules (when asked for),
// and a key it locks takes the teachers' value whatever the user's file says.
// [Pracownia] goes to lab (when asked for), from the teachers' files before
// the user's.
TOptions load(const QString &path, const QStringList &defaultsFiles = {}, TeacherRules *rules = nullptr,
    LabSettings *lab = nullptr);

// False when nothing was written: the write failed, or the existing file
// cannot be read (or is absurdly large) and would lose its other lines. A
// key the rules lock keeps the user's own value in the file, so that lifting
// the lock gives it back.
bool save(const QString &path, const TOptions &options, const TeacherRules &rules = {});

} // namespace SettingsFile

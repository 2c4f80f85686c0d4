#pragma once

#include "settings/toptions.h"

#include <QString>

// pisarz.ini on disk. Loading never fails (the defaults stand in for what
// cannot be read); saving keeps every other line of the file and replaces it
// atomically, so a crash or a full disk leaves the previous file whole.
namespace SettingsFile {

TOptions load(const QString &path);

// False when nothing was written: the write failed, or the existing file
// cannot be read (or is absurdly large) and would lose its other lines.
bool save(const QString &path, const TOptions &options);

} // namespace SettingsFile

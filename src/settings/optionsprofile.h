#pragma once

#include "settings/toptions.h"

#include <functional>
#include <string_view>

class IniFile;

// How TOptions lives in pisarz.ini: sections Stukomat, Students, ShowAttr,
// Sounds and Widok, booleans as "Yes"/"No", numbers in decimal.

// Reads every field; missing keys, and Yes/No keys that say neither, give the
// field of defaults (a teacher's defaults, or the built-in ones). Type and
// ErrorType outside 0..1 become 0, a StudentNo below -1 becomes -1, and a
// Skala outside the zoom steps' range is no choice (0).
TOptions loadOptions(const IniFile &file, const TOptions &defaults = TOptions());

// Writes one key; false when the write failed.
using ProfileWriter = std::function<bool(std::string_view section, std::string_view key, std::string_view value)>;

// Writes the eight keys in their fixed order, then the view's two when they
// were chosen. The first failed write stops the rest; returns whether all of
// them were written.
bool saveOptions(const TOptions &options, const ProfileWriter &write);
bool saveOptions(const TOptions &options, IniFile &file);

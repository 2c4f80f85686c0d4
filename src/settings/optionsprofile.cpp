#include "settings/optionsprofile.h"

#include "settings/inifile.h"
#include "widgets/zoomsteps.h"

#include <string>

namespace {

// The old program read these into a five-byte buffer, so only the first four
// characters of the stored text count: "Yes" and "No" exactly, nothing else.
constexpr std::size_t kYesNoBuffer = 5;

bool readYesNo(const IniFile &file, std::string_view section, std::string_view key, bool fallback)
{
    const std::string text = file.getString(section, key, fallback ? "Yes" : "No", kYesNoBuffer);
    if (text == "Yes")
        return true;
    if (text == "No")
        return false;
    return fallback;
}

int zeroUnlessBinary(int value)
{
    return (value < 0 || value > 1) ? 0 : value;
}

const char *yesNo(bool value)
{
    return value ? "Yes" : "No";
}

} // namespace

TOptions loadOptions(const IniFile &file, const TOptions &defaults)
{
    TOptions options;
    options.ShowAfaterStart = readYesNo(file, "Stukomat", "ShowAfaterStart", defaults.ShowAfaterStart);
    options.ErrorType = file.getInt("Stukomat", "ErrorType", defaults.ErrorType);
    options.StudentNo = file.getInt("Students", "StudentNo", defaults.StudentNo);
    options.ShowKeyb = readYesNo(file, "ShowAttr", "ShowKeyb", defaults.ShowKeyb);
    options.ShowNext = readYesNo(file, "ShowAttr", "ShowNext", defaults.ShowNext);
    options.ShowHands = readYesNo(file, "ShowAttr", "ShowHands", defaults.ShowHands);
    options.Click = readYesNo(file, "Sounds", "Click", defaults.Click);
    options.Type = file.getInt("Sounds", "Type", defaults.Type);

    options.Type = zeroUnlessBinary(options.Type);
    options.ErrorType = zeroUnlessBinary(options.ErrorType);
    if (options.StudentNo < -1)
        options.StudentNo = -1;

    options.Zoom = ZoomSteps::stepFor(file.getInt("Widok", "Skala", defaults.Zoom));
    const std::string fullScreen = file.getString("Widok", "PelnyEkran", "", kYesNoBuffer);
    if (fullScreen == "Yes" || fullScreen == "No")
        options.FullScreen = fullScreen == "Yes";
    else
        options.FullScreen = defaults.FullScreen;
    return options;
}

bool saveOptions(const TOptions &options, const ProfileWriter &write)
{
    return write("Stukomat", "ShowAfaterStart", yesNo(options.ShowAfaterStart))
        && write("Stukomat", "ErrorType", std::to_string(options.ErrorType))
        && write("Students", "StudentNo", std::to_string(options.StudentNo))
        && write("ShowAttr", "ShowKeyb", yesNo(options.ShowKeyb))
        && write("ShowAttr", "ShowNext", yesNo(options.ShowNext))
        && write("ShowAttr", "ShowHands", yesNo(options.ShowHands)) && write("Sounds", "Click", yesNo(options.Click))
        && write("Sounds", "Type", std::to_string(options.Type))
        && (options.Zoom == 0 || write("Widok", "Skala", std::to_string(options.Zoom)))
        && (!options.FullScreen || write("Widok", "PelnyEkran", yesNo(*options.FullScreen)));
}

bool saveOptions(const TOptions &options, IniFile &file)
{
    return saveOptions(options, [&file](std::string_view section, std::string_view key, std::string_view value) {
        return file.writeString(section, key, value);
    });
}

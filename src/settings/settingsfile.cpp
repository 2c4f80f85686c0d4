#include "settings/settingsfile.h"

#include "settings/inifile.h"
#include "settings/optionsprofile.h"

#include <optional>
#include <string>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace SettingsFile {
namespace {

// A settings file is a few hundred bytes; anything this large is not ours to parse or rewrite.
constexpr qint64 kMaxSize = 1024 * 1024;

// The file's bytes; empty for a missing file, nothing when it exists but cannot be read.
std::optional<std::string> readExisting(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return std::string();
    // Not a named pipe (opening it waits for a writer) or a device.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || file.size() > kMaxSize)
        return std::nullopt;
    const QByteArray bytes = file.read(kMaxSize + 1);
    if (bytes.size() > kMaxSize || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes.toStdString();
}

} // namespace

TOptions load(const QString &path, const QStringList &defaultsFiles)
{
    TOptions defaults;
    for (auto file = defaultsFiles.crbegin(); file != defaultsFiles.crend(); ++file)
        defaults = loadOptions(IniFile(readExisting(*file).value_or(std::string())), defaults);
    const std::optional<std::string> bytes = readExisting(path);
    return loadOptions(IniFile(bytes.value_or(std::string())), defaults);
}

bool save(const QString &path, const TOptions &options)
{
    const std::optional<std::string> bytes = readExisting(path);
    if (!bytes)
        return false;
    IniFile file(*bytes);
    if (!saveOptions(options, file))
        return false;
    const std::string text = file.text();
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    // Flushed before the commit, which would otherwise put a torn file in
    // place when the buffered bytes cannot be written out.
    if (out.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) || !out.flush()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

} // namespace SettingsFile

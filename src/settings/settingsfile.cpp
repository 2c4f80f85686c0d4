#include "settings/settingsfile.h"

#include "settings/inifile.h"
#include "settings/optionsprofile.h"
#include "settings/teacherrules.h"

#include <optional>
#include <string>
#include <vector>

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

TOptions load(const QString &path, const QStringList &defaultsFiles, TeacherRules *rules, LabSettings *lab)
{
    std::vector<IniFile> teachers;
    for (const QString &file : defaultsFiles)
        teachers.emplace_back(readExisting(file).value_or(std::string()));
    TOptions defaults;
    for (auto file = teachers.crbegin(); file != teachers.crend(); ++file)
        defaults = loadOptions(*file, defaults);
    const std::optional<std::string> bytes = readExisting(path);
    const IniFile ownFile(bytes.value_or(std::string()));
    const TOptions own = loadOptions(ownFile, defaults);
    std::vector<const IniFile *> files;
    for (const IniFile &file : teachers)
        files.push_back(&file);
    const TeacherRules found = loadTeacherRules(files);
    if (rules)
        *rules = found;
    if (lab) {
        files.push_back(&ownFile);
        *lab = loadLabSettings(files);
    }
    return withLocks(own, defaults, found);
}

bool save(const QString &path, const TOptions &options, const TeacherRules &rules)
{
    const std::optional<std::string> bytes = readExisting(path);
    if (!bytes)
        return false;
    IniFile file(*bytes);
    // The user's own values of the locked keys, where the file has them.
    const TOptions kept = withLocks(options, loadOptions(file, options), rules);
    if (!saveOptions(kept, file))
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

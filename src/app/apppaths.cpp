#include "app/apppaths.h"

#include <QDir>
#include <QStandardPaths>

namespace AppPaths {
namespace {

QString &dataDir()
{
    static QString dir;
    return dir;
}

QString inFolder(QStandardPaths::StandardLocation location, const QString &name)
{
    const QString folder = dataDir().isEmpty() ? QStandardPaths::writableLocation(location) : dataDir();
    QDir().mkpath(folder);
    return QDir(folder).filePath(name);
}

} // namespace

bool setDataDir(const QString &dir)
{
    if (!QDir().mkpath(dir))
        return false;
    dataDir() = QDir(dir).absolutePath();
    return true;
}

QString settingsFile()
{
    return inFolder(QStandardPaths::AppConfigLocation, QStringLiteral("pisarz.ini"));
}

QString studentsFile()
{
    return inFolder(QStandardPaths::AppDataLocation, QStringLiteral("pisarz.sta"));
}

QStringList defaultsFiles()
{
    const QString own = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QStringList files;
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation)) {
        if (folder == own)
            continue;
        const QString file = QDir(folder).filePath(QStringLiteral("palcomir/pisarz.ini"));
        if (!files.contains(file))
            files << file;
    }
    return files;
}

QString historyFile()
{
    return inFolder(QStandardPaths::AppDataLocation, QStringLiteral("palcomir.db"));
}

} // namespace AppPaths

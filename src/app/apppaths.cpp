#include "app/apppaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

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

QString dataFolder()
{
    return QFileInfo(studentsFile()).absolutePath();
}

QString computerName()
{
    QString name = QSysInfo::machineHostName();
    QFile id(QStringLiteral("/etc/machine-id"));
    if (id.open(QIODevice::ReadOnly))
        name += QLatin1Char('-') + QString::fromLatin1(id.read(8)).trimmed();
    QString safe;
    for (const QChar c : name)
        safe += c.isLetterOrNumber() && c.unicode() < 128 ? c : QLatin1Char('_');
    return safe.isEmpty() ? QStringLiteral("komputer") : safe;
}

} // namespace AppPaths

#include "lessons/librarylocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef PALCOMIR_INSTALLED_DATA_DIR
#define PALCOMIR_INSTALLED_DATA_DIR "/usr/local/share/palcomir"
#endif
// The data directory seen from the installed program's directory, so an
// installation moved elsewhere (or unpacked into a staging folder) finds its own library.
#ifndef PALCOMIR_RELATIVE_DATA_DIR
#define PALCOMIR_RELATIVE_DATA_DIR "../share/palcomir"
#endif

namespace {
// The library is a few hundred kilobytes; anything this large is not ours.
constexpr qint64 kMaxLibrarySize = 64 * 1024 * 1024;
} // namespace

QStringList LibraryLocator::candidates(const QString &explicitFile)
{
    if (!explicitFile.isEmpty())
        return { QFileInfo(explicitFile).absoluteFilePath() };
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString name = QString::fromLatin1(kFileName);
    QStringList list;
    for (const QString &path : { programDir.filePath(name),
             QDir::cleanPath(programDir.filePath(QStringLiteral(PALCOMIR_RELATIVE_DATA_DIR "/") + name)),
             QDir(QString::fromUtf8(PALCOMIR_INSTALLED_DATA_DIR)).filePath(name) }) {
        if (!list.contains(path))
            list << path;
    }
    return list;
}

LibraryLocator::Result LibraryLocator::load(const QString &explicitFile)
{
    Result result;
    const QStringList places = candidates(explicitFile);
    for (const QString &path : places) {
        QFile file(path);
        if (!file.exists())
            continue;
        result.path = path;
        if (file.size() > kMaxLibrarySize) {
            result.errorMessage
                = QStringLiteral("Plik biblioteki lekcji %1 jest zbyt duży, by mógł być biblioteką lekcji.").arg(path);
            return result;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            result.errorMessage
                = QStringLiteral("Nie można odczytać biblioteki lekcji %1: %2.").arg(path, file.errorString());
            return result;
        }
        const QByteArray bytes = file.readAll();
        std::string problem;
        result.library = LessonLibrary::parse(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), &problem);
        if (!result.library)
            result.errorMessage
                = QStringLiteral("Plik %1 nie nadaje się do użycia: %2.").arg(path, QString::fromUtf8(problem.c_str()));
        return result;
    }
    QStringList lines;
    for (const QString &path : places)
        lines << QStringLiteral("  %1").arg(QDir::toNativeSeparators(path));
    result.errorMessage = QStringLiteral("Nie odnaleziono biblioteki lekcji %1.\nSzukano w:\n%2\n\n"
                                         "Program nie może działać bez biblioteki lekcji. "
                                         "Wskaż ją opcją --library PLIK albo zainstaluj program ponownie.")
                              .arg(QString::fromLatin1(kFileName), lines.join(QLatin1Char('\n')));
    return result;
}

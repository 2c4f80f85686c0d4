#include "app/commandline.h"

#include <cstdio>

#include "lessons/lessongroups.h"

#include <QDate>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

void printLine(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

const char *const kHelp = "Użycie: palcomir [OPCJE]\n"
                          "Palcomir - nauka pisania bezwzrokowego na klawiaturze.\n"
                          "\n"
                          "Opcje:\n"
                          "  --library PLIK     biblioteka lekcji zamiast pisarz.src obok programu\n"
                          "                     lub zainstalowanej\n"
                          "  --data-dir FOLDER  folder na ustawienia (pisarz.ini) i listę uczniów\n"
                          "                     (pisarz.sta); powstaje, gdy go nie ma\n"
                          "  --lesson NUMER     uruchamia od razu zapisaną lekcję o tym numerze\n"
                          "                     (np. 1201)\n"
                          "  --teacher-password pyta dwa razy o hasło nauczyciela i wypisuje wiersz\n"
                          "                     Haslo=... do sekcji [Nauczyciel] pliku pisarz.ini\n"
                          "  --report PLIK      zapisuje raport lekcji wszystkich uczniów do pliku CSV\n"
                          "                     i kończy, bez otwierania okna\n"
                          "  --from RRRR-MM-DD  raport od tego dnia (włącznie)\n"
                          "  --to RRRR-MM-DD    raport do tego dnia (włącznie)\n"
                          "  -h, --help         pokazuje ten opis i kończy\n"
                          "  -v, --version      pokazuje wersję programu i kończy\n"
                          "\n"
                          "Ustawienia domyślne dla całej pracowni: /etc/xdg/palcomir/pisarz.ini.";

// QApplication's own options, which it takes off the command line itself.
bool isQtOption(const QString &name, bool *takesValue)
{
    static const QStringList withValue { QStringLiteral("platform"), QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"), QStringLiteral("plugin"), QStringLiteral("display"),
        QStringLiteral("geometry"), QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"),
        QStringLiteral("qwindowtitle"), QStringLiteral("style"), QStringLiteral("stylesheet"),
        QStringLiteral("session"), QStringLiteral("name"), QStringLiteral("title"), QStringLiteral("visual") };
    static const QStringList flags { QStringLiteral("reverse"), QStringLiteral("nograb"), QStringLiteral("dograb"),
        QStringLiteral("sync"), QStringLiteral("widgetcount") };
    *takesValue = withValue.contains(name);
    return *takesValue || flags.contains(name);
}

// Whether a number can name a stored lesson at all: the letter lessons, or a
// group of basic lessons, practical texts or keypad drills, each of which ends
// before the next group starts. The library decides the rest.
bool inLessonGroup(int number)
{
    using namespace lessongroups;
    return (number >= kFirstLetterLesson && number <= 47)
        || (number >= kFirstBasicLesson && number < kFirstKeypadDrill + 100);
}

// A day as the report takes it: YYYY-MM-DD, one of the calendar.
bool isDay(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    return form.match(text).hasMatch() && QDate::fromString(text, Qt::ISODate).isValid();
}

StartupOptions usageError(const QString &text)
{
    printLine(stderr, text + QStringLiteral(" Opcje programu opisuje palcomir --help."));
    StartupOptions options;
    options.exitNow = true;
    options.exitCode = kExitUsage;
    return options;
}

} // namespace

StartupOptions parseCommandLine(const QStringList &arguments)
{
    StartupOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (!argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-") || argument == QLatin1String("--"))
            return usageError(QStringLiteral("Nieoczekiwany argument: %1.").arg(argument));
        const QString spelled = argument.section(QLatin1Char('='), 0, 0);
        const QString name = spelled.mid(spelled.startsWith(QLatin1String("--")) ? 2 : 1);
        const bool inlineValue = argument.contains(QLatin1Char('='));

        if (name == QLatin1String("h") || name == QLatin1String("help")) {
            printLine(stdout, QString::fromUtf8(kHelp));
            options = {};
            options.exitNow = true;
            return options;
        }
        if (name == QLatin1String("v") || name == QLatin1String("version")) {
            printLine(stdout, QStringLiteral("Palcomir %1").arg(QStringLiteral(PALCOMIR_VERSION)));
            options = {};
            options.exitNow = true;
            return options;
        }

        if (name == QLatin1String("teacher-password") && !inlineValue) {
            options.teacherPassword = true;
            continue;
        }

        bool qtTakesValue = false;
        static const QStringList ourOptions { QStringLiteral("library"), QStringLiteral("data-dir"),
            QStringLiteral("lesson"), QStringLiteral("report"), QStringLiteral("from"), QStringLiteral("to") };
        const bool ours = ourOptions.contains(name);
        if (!ours && !isQtOption(name, &qtTakesValue))
            return usageError(QStringLiteral("Nieznana opcja: %1.").arg(spelled));
        if (!ours && !qtTakesValue)
            continue;
        QString value;
        if (inlineValue) {
            value = argument.section(QLatin1Char('='), 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return usageError(QStringLiteral("Opcja %1 wymaga wartości.").arg(spelled));
        }
        if (!ours)
            continue;
        if (name == QLatin1String("library")) {
            options.libraryFile = value;
        } else if (name == QLatin1String("data-dir")) {
            const QFileInfo info(value);
            if (value.isEmpty() || (info.exists() && !info.isDir()))
                return usageError(QStringLiteral("Folder danych %1 nie jest folderem.").arg(value));
            options.dataDir = value;
        } else if (name == QLatin1String("report")) {
            if (value.isEmpty())
                return usageError(QStringLiteral("Opcja %1 wymaga nazwy pliku.").arg(spelled));
            options.reportFile = value;
        } else if (name == QLatin1String("from") || name == QLatin1String("to")) {
            if (!isDay(value))
                return usageError(QStringLiteral("Nieprawidłowa data: %1 (potrzebna RRRR-MM-DD).").arg(value));
            (name == QLatin1String("from") ? options.reportFrom : options.reportTo) = value;
        } else {
            bool ok = false;
            options.lesson = value.toInt(&ok);
            if (!ok || !inLessonGroup(options.lesson))
                return usageError(QStringLiteral("Nieprawidłowy numer lekcji: %1.").arg(value));
        }
    }
    if (options.reportFile.isEmpty() && !(options.reportFrom.isEmpty() && options.reportTo.isEmpty()))
        return usageError(QStringLiteral("Opcje --from i --to działają tylko z --report."));
    if (!options.reportFrom.isEmpty() && !options.reportTo.isEmpty() && options.reportFrom > options.reportTo)
        return usageError(QStringLiteral("Raport od %1 do %2: pierwszy dzień jest po ostatnim.")
                              .arg(options.reportFrom, options.reportTo));
    return options;
}

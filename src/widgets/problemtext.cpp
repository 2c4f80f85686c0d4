#include "widgets/problemtext.h"

#include <algorithm>

#include <QDir>

namespace {

using Code = DataProblem::Code;

struct ProblemText {
    Code code;
    const char *text; // %1 the file or folder, %2 the pupils read, %3 the copy
    bool notice = false; // nothing failed that the learner asked for
};

const ProblemText kTexts[] = {
    { Code::ListUnreadable,
        "Nie można odczytać listy uczniów z pliku %1.\n"
        "Zmiany na liście uczniów nie zostaną zapisane." },
    { Code::ListDamagedCopied,
        "Plik z listą uczniów %1 jest uszkodzony. Odczytano uczniów: %2.\n"
        "Kopię uszkodzonego pliku zapisano jako %3." },
    { Code::ListDamagedKept,
        "Plik z listą uczniów %1 jest uszkodzony. Odczytano uczniów: %2.\n"
        "Nie udało się zapisać jego kopii, więc plik pozostanie nienaruszony, "
        "a zmiany na liście uczniów nie zostaną zapisane." },
    { Code::ListLocked,
        "Nie można zapisać listy uczniów do pliku %1: inny komputer trzyma ją zablokowaną. "
        "Zapis zostanie ponowiony po następnej lekcji." },
    { Code::ListNotSaved,
        "Nie można zapisać listy uczniów do pliku %1. Zapis zostanie ponowiony po następnej lekcji." },
    { Code::FolderReadOnly,
        "Nie można zapisywać w folderze danych %1. Lekcje działają, ale nowi uczniowie i wyniki "
        "nie zostaną zapisane." },
    { Code::HistoryNoDriver,
        "Brak sterownika SQLite (pakiet libqt6sql6-sqlite): historia nauki nie będzie zapisywana." },
    { Code::HistoryTooNew,
        "Plik historii nauki %1 pochodzi z nowszej wersji programu. Historia nie będzie zapisywana." },
    { Code::HistoryNotOpened,
        "Nie można otworzyć pliku historii nauki %1. "
        "Lekcje działają jak zwykle, ale ich wyniki nie trafią do historii." },
    { Code::HistoryDamagedCopied,
        "Plik historii nauki %1 był uszkodzony. Jego kopię zapisano jako %3, a historia zaczyna się od nowa." },
    { Code::HistoryDamagedKept,
        "Plik historii nauki %1 jest uszkodzony, a jego kopii nie udało się zapisać. "
        "Plik pozostanie nienaruszony, a historia nie będzie zapisywana." },
    { Code::HistoryNotWritten,
        "Nie można zapisać historii nauki w pliku %1. "
        "Lekcje działają jak zwykle, ale ich wyniki nie trafią do historii." },
    { Code::ServerAway,
        "Serwer klasy nie odpowiada. Wyniki lekcji są na razie zapisywane na tym komputerze "
        "i trafią na serwer, gdy znów będzie dostępny.",
        true },
};

const ProblemText *entryOf(const DataProblem &problem)
{
    const auto entry = std::find_if(
        std::begin(kTexts), std::end(kTexts), [&](const ProblemText &t) { return t.code == problem.code; });
    return entry == std::end(kTexts) ? nullptr : entry;
}

} // namespace

bool isNotice(const DataProblem &problem)
{
    const ProblemText *entry = entryOf(problem);
    return entry && entry->notice;
}

QString problemText(const DataProblem &problem)
{
    const ProblemText *entry = entryOf(problem);
    if (!entry)
        return {};
    // One pass, so that a name holding "%2" stays as it is.
    const QString format = QString::fromUtf8(entry->text);
    QString text;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar next = i + 1 < format.size() ? format[i + 1] : QChar();
        if (format[i] != u'%' || next < u'1' || next > u'3') {
            text += format[i];
            continue;
        }
        if (next == u'1')
            text += QDir::toNativeSeparators(problem.path);
        else if (next == u'2')
            text += QString::number(problem.count);
        else
            text += QDir::toNativeSeparators(problem.copy);
        ++i;
    }
    if (!problem.reason.isEmpty())
        text += u'\n' + problem.reason;
    return text;
}

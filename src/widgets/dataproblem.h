#pragma once

#include <utility>

#include <QMetaType>
#include <QString>

// Something that went wrong with the class's files, as the part that found
// it reports it: what happened, and to which file or folder. The words the
// learner reads are composed from it in one place (problemText).
struct DataProblem {
    enum class Code {
        None,
        ListUnreadable, // the student list cannot be read; changes to it are not saved
        ListDamagedCopied, // the list is damaged: `count` pupils read, the file copied to `copy`
        ListDamagedKept, // the list is damaged and no copy could be made: it is left alone
        ListLocked, // another computer holds the list's lock
        ListNotSaved, // the list could not be written; tried again after the next lesson
        FolderReadOnly, // nothing can be written in the data folder
        HistoryNoDriver, // no SQLite driver: the history is off
        HistoryTooNew, // the history file was made by a newer program
        HistoryNotOpened, // the history file cannot be opened
        HistoryDamagedCopied, // the history file was damaged: copied to `copy`, a new one started
        HistoryDamagedKept, // the history file is damaged and no copy could be made
        HistoryNotWritten, // a lesson could not be written to the history
        ServerAway, // the class server does not answer: results wait on this computer
    };

    DataProblem() = default;
    DataProblem(Code code, QString path = {}, QString copy = {}, int count = 0, QString reason = {})
        : code(code)
        , path(std::move(path))
        , copy(std::move(copy))
        , count(count)
        , reason(std::move(reason))
    { }

    Code code = Code::None;
    QString path; // the file or folder concerned
    QString copy; // where a damaged file was copied
    int count = 0; // the pupils read from a damaged list
    QString reason; // the system's own words, when it gave any

    explicit operator bool() const { return code != Code::None; }
    bool operator==(const DataProblem &) const = default;
};

Q_DECLARE_METATYPE(DataProblem)

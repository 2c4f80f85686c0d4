#pragma once

#include "history/lessonrecord.h"
#include "widgets/dataproblem.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <QString>
#include <QVariantList>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

// palcomir.db: every finished lesson of every registered student, in SQLite.
//
// The file is opened at its first use, not at start-up. It is written in
// write-ahead-log mode, one transaction per lesson. A file that is not a
// database or is damaged is copied aside (palcomir.db.bad) and a new one is
// started; a file that cannot be written, or one made by a newer program, is
// left alone and the history is off for the run. Nothing of this ever stops
// a lesson: takeProblem() says what to tell the learner.
//
// A pupil is named by the identity the class's list gives it, which no other
// pupil ever takes. Each computer writes a file of its own; the files of the
// others are opened read-only (readOnly), since SQLite must not be written by
// two machines through a network file system.
class HistoryStore
{
public:
    static constexpr int kSchemaVersion = 5;

    explicit HistoryStore(QString path, bool readOnly = false);
    ~HistoryStore();
    HistoryStore(const HistoryStore &) = delete;
    HistoryStore &operator=(const HistoryStore &) = delete;

    const QString &path() const { return m_path; }

    // The SQL that takes the schema from version i to i + 1 (index i - 1);
    // version 0 is an empty file.
    static const std::vector<std::vector<const char *>> &migrations();

    // Pupils of an older file, named by their place in the list, get the
    // identity of the pupil at that place only when the name is the same;
    // the rest keep their lessons under an identity no pupil has.
    // list: each pupil's name (Windows-1250) and identity, in list order.
    void adoptPupils(const std::vector<std::pair<std::string, std::string>> &list);
    // The pupil's lessons, here and nowhere else, go.
    void removePupil(const std::string &id);

    // Adds one lesson of a pupil (name in Windows-1250); false when it was not
    // written. In class mode it waits for the class server (unsent).
    bool record(const std::string &id, const std::string &name, const LessonRecord &lesson, bool unsent = false);

    // Class mode: the lessons waiting for the class server, with their
    // pupil's identity, keystrokes and wrong keys, in the order they finished.
    std::vector<std::pair<std::string, LessonRecord>> unsentLessons();
    enum class Delivery { Sent, NoPupil };
    // The server has them (Sent), or will never take them: their pupil is
    // not on it (NoPupil); either way they are not sent again.
    void markLessons(const std::vector<std::string> &uuids, Delivery delivery);
    // Where each pupil's course goes on, not yet told to the server.
    std::map<std::string, int> unsentAdvances();
    void setUnsentAdvance(const std::string &id, int next);
    // The server has it: an advance made since stays.
    void dropAdvance(const std::string &id, int next);
    // What this computer knows of the class's pupils.
    enum class Known { OnServer = 1, HiddenHere = 2 };
    std::map<std::string, Known> classPupils();
    void setClassPupils(const std::vector<std::string> &ids, Known known);

    // The pupil's lessons in the order they were finished, without their
    // per-character figures.
    std::vector<LessonRecord> lessons(const std::string &id);
    // The pupil's keystrokes per character, summed over every lesson.
    // unsentOnly: of the lessons still waiting for the class server.
    std::vector<CharTally> charTotals(const std::string &id, bool unsentOnly = false);
    // The pupil's wrong keystrokes per pair, summed over every lesson.
    std::vector<TConfusion> confusionTotals(const std::string &id, bool unsentOnly = false);
    // Every pupil this file holds lessons of: identity and name (Windows-1250).
    std::vector<std::pair<std::string, std::string>> pupils();

    // Writes the log into the file and closes it, so the file alone is whole.
    void close();

    // What went wrong since the last call; none when all is well.
    DataProblem takeProblem();
    // Where a damaged file was copied; empty when none was.
    const QString &damagedCopy() const { return m_damagedCopy; }

private:
    enum class State { Closed, Open, Off };
    enum class Prepared { Ready, Damaged, TooNew, Failed };

    QSqlDatabase database() const;
    bool ensureOpen();
    Prepared prepare();
    bool startAfresh();
    bool copyAside();
    // Notes a failed statement; a damaged file is replaced by a new one.
    void failed(const QSqlError &error);
    // The pupil's key in this file; 0 when there is none (made when `create`).
    std::int64_t keyOf(const std::string &id, const std::string &name, bool create);
    // Runs a query of the pupil (its one parameter); false when the file
    // has no such pupil, the history is off or the query fails.
    bool runForPupil(QSqlQuery &q, const std::string &id, const QString &sql);
    // Runs one statement with its values; false (noted) when it fails.
    bool exec(const QString &sql, const QVariantList &values);
    void execEach(const QString &sql, const QVariant &value, const std::vector<std::string> &ids);
    // A query's rows, each as its values; nothing when it fails.
    std::vector<QVariantList> rows(const QString &sql, const QVariantList &values = {});

    QString m_path;
    QString m_connection;
    State m_state = State::Closed;
    DataProblem m_problem;
    QString m_damagedCopy;
    bool m_readOnly = false;
};

#pragma once

#include "history/lessonrecord.h"

#include <cstdint>
#include <string>
#include <vector>

#include <QString>

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
// a lesson: problem() says what to tell the learner.
//
// Students are named by their position in the list; the store keeps its own
// key for each (see matchStudentKeys) and is told of the list through
// syncStudents() before a student's history is read or written.
class HistoryStore
{
public:
    static constexpr int kSchemaVersion = 3;

    explicit HistoryStore(QString path);
    ~HistoryStore();
    HistoryStore(const HistoryStore &) = delete;
    HistoryStore &operator=(const HistoryStore &) = delete;

    const QString &path() const { return m_path; }

    // The SQL that takes the schema from version i to i + 1 (index i - 1);
    // version 0 is an empty file.
    static const std::vector<std::vector<const char *>> &migrations();

    // The list as it is now (names in Windows-1250, in list order). False
    // when the history cannot be used this run.
    bool syncStudents(const std::vector<std::string> &names);
    // The student at `position` left the list: their history goes with them.
    void removeStudent(int position);

    // Adds one lesson of the student at `position`; false when it was not written.
    bool record(int position, const LessonRecord &lesson);

    // The student's lessons in the order they were finished, without their
    // per-character figures.
    std::vector<LessonRecord> lessons(int position);
    // The student's keystrokes per character, summed over every lesson.
    std::vector<CharTally> charTotals(int position);
    // The student's wrong keystrokes per pair, summed over every lesson.
    std::vector<TConfusion> confusionTotals(int position);

    // What went wrong, in Polish, since the last call; empty when all is well.
    QString takeProblem();
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
    std::int64_t keyAt(int position) const;
    // Runs a query of the student at position (its one parameter); false
    // when there is no such student, the history is off or the query fails.
    bool runForStudent(QSqlQuery &q, int position, const QString &sql);

    QString m_path;
    QString m_connection;
    State m_state = State::Closed;
    QString m_problem;
    QString m_damagedCopy;
    std::vector<std::string> m_names; // the list as last synced
    std::vector<std::int64_t> m_keys; // its keys
    bool m_synced = false;
};

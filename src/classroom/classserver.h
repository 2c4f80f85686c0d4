#pragma once

#include "history/lessonrecord.h"
#include "students/tstudent.h"

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QString>

class QSqlDatabase;
class QSqlQuery;

// One connection to the class server, the school's PostgreSQL (the schema
// of share/palcomir/serwer/palcomir.sql). Every call blocks until the server
// answers or fails; it belongs on a thread of its own (ClassLink), never on
// the one that takes the keystrokes. A failed call closes the connection, so
// the next one connects again; error() says why, in the server's words.
class ClassServer
{
public:
    // server: a libpq connection string; computer: this computer's name.
    ClassServer(std::string server, QString computer);
    ~ClassServer();
    ClassServer(const ClassServer &) = delete;
    ClassServer &operator=(const ClassServer &) = delete;

    // Connects, unless connected already.
    bool open();
    const QString &error() const { return m_error; }

    // The pupil joins the class; a pupil the server has already stays as it is.
    bool addPupil(const TStudent &pupil, const std::string &className);
    enum class Sent { Recorded, Known, NoPupil, Failed };
    // A finished lesson (its uuid set) of the pupil, with its keystrokes.
    Sent recordLesson(const std::string &pupil, const LessonRecord &lesson);
    // The pupil's course goes on at next, unless it is further already.
    bool advance(const std::string &pupil, int next);

    // The class's pupils, in the order they joined, each with its identity.
    std::optional<std::vector<TStudent>> roster(const std::string &className);
    // The lessons of every pupil of the class, in the order they finished.
    std::optional<std::map<std::string, std::vector<LessonRecord>>> classLessons(const std::string &className);
    // The pupil's lessons, keyed by the pupil as classLessons() keys them.
    std::optional<std::map<std::string, std::vector<LessonRecord>>> pupilLessons(const std::string &pupil);
    std::optional<std::vector<CharTally>> charTotals(const std::string &pupil);
    std::optional<std::vector<TConfusion>> confusionTotals(const std::string &pupil);

private:
    QSqlDatabase database() const;
    // Runs sql with its values (connecting first); nothing when it failed.
    QSqlQuery *run(const QString &sql, const QVariantList &values);
    std::optional<std::map<std::string, std::vector<LessonRecord>>> lessonsWhere(
        const QString &condition, const QString &value);

    std::string m_server;
    QString m_computer;
    QString m_connection;
    QString m_error;
    std::map<QString, std::unique_ptr<QSqlQuery>> m_prepared; // of this connection
};

// One round with the server: what this computer has for it, and what came back.
namespace ServerExchange {

struct Outbox {
    std::string className;
    std::vector<TStudent> pupils; // registered here, not yet on the server
    std::vector<std::pair<std::string, LessonRecord>> lessons; // pupil, lesson
    std::map<std::string, int> advances; // pupil, next lesson
};

struct Inbox {
    std::vector<std::string> added; // pupils the server has now
    std::vector<std::string> sent; // lessons the server has now
    std::vector<std::string> noPupil; // lessons whose pupil is not on the server
    std::map<std::string, int> advanced;
    std::vector<double> recordMs; // how long the server took over each lesson
    std::optional<std::vector<TStudent>> roster; // the class, as read after the rest
    QString error; // the server's words, when a step failed
};

// Pupils first, then lessons in the order they finished, then the course's
// advances, then the class is read; a step that fails ends the round.
Inbox exchange(ClassServer &server, const Outbox &out);

} // namespace ServerExchange

#include "classroom/classserver.h"

#include "settings/labsettings.h"
#include "text/cp1250.h"

#include <charconv>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

// A PostgreSQL array literal of numbers: {1,2,3}.
template<typename T, typename Get> QString arrayOf(const std::vector<T> &items, Get get)
{
    QString out = QStringLiteral("{");
    for (const T &item : items) {
        if (out.size() > 1)
            out += u',';
        out += QString::number(get(item));
    }
    return out + u'}';
}

// A record's 226 numbers, each character's speed then its accuracy.
QString statsArray(const TStudent &pupil)
{
    QString out = QStringLiteral("{");
    for (const TCharStat &stat : pupil.CharStats) {
        out += QString::number(double(stat.Speed), 'g', 9) + u',' + QString::number(double(stat.Accuracy), 'g', 9);
        out += u',';
    }
    out.back() = u'}';
    return out;
}

// ... and back; false when it is not a whole record.
bool readStats(const QString &text, TStudent &pupil)
{
    const QByteArray bytes = text.toLatin1();
    const char *at = bytes.constData();
    const char *end = at + bytes.size();
    if (at == end || *at != '{')
        return false;
    ++at;
    std::array<float, 2 * kStatCharCount> values {};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto [next, ec] = std::from_chars(at, end, values[i]);
        if (ec != std::errc() || next == end || *next != (i + 1 == values.size() ? '}' : ','))
            return false;
        at = next + 1;
    }
    for (std::size_t c = 0; c < kStatCharCount; ++c)
        pupil.CharStats[c] = { values[2 * c], values[2 * c + 1] };
    return true;
}

LessonRecord lessonOf(const QSqlQuery &q, int first)
{
    LessonRecord r;
    r.uuid = q.value(first).toString().toStdString();
    r.when = q.value(first + 1).toLongLong();
    r.kind = LessonKind(q.value(first + 2).toInt());
    r.number = q.value(first + 3).toInt();
    r.detail = q.value(first + 4).toString().toStdString();
    r.suggested = q.value(first + 5).toBool();
    r.seconds = std::uint32_t(q.value(first + 6).toLongLong());
    r.keystrokes = std::uint32_t(q.value(first + 7).toLongLong());
    r.errors = std::uint32_t(q.value(first + 8).toLongLong());
    r.speed = q.value(first + 9).toFloat();
    r.accuracy = q.value(first + 10).toFloat();
    return r;
}

// The first line of what the server or libpq said: the rest is advice for
// the server's administrator, not for a pupil's message.
QString firstLine(const QSqlError &error)
{
    const QString text = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    for (const QString &line : text.split(u'\n')) {
        if (!line.trimmed().isEmpty())
            return line.simplified();
    }
    return text;
}

const char *const kLessonColumns = "l.id, l.finished, l.kind, l.number, l.detail, l.suggested, l.seconds,"
                                   " l.keystrokes, l.errors, l.speed, l.accuracy";

} // namespace

ClassServer::ClassServer(std::string server, QString computer)
    : m_server(std::move(server))
    , m_computer(std::move(computer))
    , m_connection(QStringLiteral("palcomir-class-%1").arg(quintptr(this)))
{ }

ClassServer::~ClassServer()
{
    m_prepared.clear();
    if (QSqlDatabase::contains(m_connection)) {
        database().close();
        QSqlDatabase::removeDatabase(m_connection);
    }
}

QSqlDatabase ClassServer::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

bool ClassServer::open()
{
    if (QSqlDatabase::contains(m_connection) && database().isOpen())
        return true;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        m_error = QStringLiteral("Brak sterownika PostgreSQL (pakiet libqt6sql6-psql).");
        return false;
    }
    QSqlDatabase db = QSqlDatabase::contains(m_connection)
        ? database()
        : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connection);
    // The driver passes its options to libpq as they are, with ';' for ' '.
    db.setConnectOptions(QString::fromStdString(connectionString(m_server)));
    if (!db.open()) {
        m_error = firstLine(db.lastError());
        return false;
    }
    m_error.clear();
    return true;
}

QSqlQuery *ClassServer::run(const QString &sql, const QVariantList &values)
{
    if (!open())
        return nullptr;
    // Each statement is prepared once a connection: the server plans it once.
    auto &slot = m_prepared[sql];
    bool ok = true;
    if (!slot) {
        slot = std::make_unique<QSqlQuery>(database());
        slot->setForwardOnly(true);
        ok = slot->prepare(sql);
    }
    QSqlQuery &q = *slot;
    for (int i = 0; ok && i < values.size(); ++i)
        q.bindValue(i, values[i]);
    ok = ok && q.exec();
    if (!ok) {
        m_error = firstLine(q.lastError());
        // A lost connection is opened again at the next call.
        m_prepared.clear();
        database().close();
        return nullptr;
    }
    return &q;
}

bool ClassServer::addPupil(const TStudent &pupil, const std::string &className)
{
    return run(QStringLiteral("SELECT palcomir.add_pupil(?::uuid, ?, ?, ?, ?, ?::real[], ?)"),
               { QString::fromStdString(pupil.Id), QString::fromStdString(className),
                   QString::fromStdString(cp1250::toUtf8(pupil.Name)), pupil.Male != 0, pupil.NextLesson,
                   statsArray(pupil), m_computer })
        != nullptr;
}

ClassServer::Sent ClassServer::recordLesson(const std::string &pupil, const LessonRecord &lesson)
{
    std::vector<int> places;
    for (const CharTally &t : lesson.chars)
        places.push_back(statCharSlot(t.Char));
    QSqlQuery *q = run(
        QStringLiteral("SELECT palcomir.record_lesson(?::uuid, ?::uuid, ?, ?::smallint, ?, ?, ?, ?, ?, ?, ?::real,"
                       " ?::real, ?, ?::smallint[], ?::smallint[], ?::bigint[], ?::bigint[], ?::bigint[], ?::bigint[],"
                       " ?::smallint[], ?::smallint[], ?::bigint[])"),
        { QString::fromStdString(lesson.uuid), QString::fromStdString(pupil), qlonglong(lesson.when), int(lesson.kind),
            lesson.number, QString::fromStdString(lesson.detail), lesson.suggested, qlonglong(lesson.seconds),
            qlonglong(lesson.keystrokes), qlonglong(lesson.errors), double(lesson.speed), double(lesson.accuracy),
            m_computer, arrayOf(places, [](int s) { return s; }),
            arrayOf(lesson.chars, [](const CharTally &t) { return int(t.Char); }),
            arrayOf(lesson.chars, [](const CharTally &t) { return t.Hits; }),
            arrayOf(lesson.chars, [](const CharTally &t) { return t.Misses; }),
            arrayOf(lesson.chars, [](const CharTally &t) { return t.Time; }),
            arrayOf(lesson.chars, [](const CharTally &t) { return t.MissedPlaces; }),
            arrayOf(lesson.confusions, [](const TConfusion &c) { return int(c.Expected); }),
            arrayOf(lesson.confusions, [](const TConfusion &c) { return int(c.Typed); }),
            arrayOf(lesson.confusions, [](const TConfusion &c) { return c.Count; }) });
    if (!q || !q->next())
        return Sent::Failed;
    const QString answer = q->value(0).toString();
    q->finish();
    if (answer == QLatin1String("recorded"))
        return Sent::Recorded;
    return answer == QLatin1String("known") ? Sent::Known : Sent::NoPupil;
}

bool ClassServer::advance(const std::string &pupil, int next)
{
    QSqlQuery *q
        = run(QStringLiteral("SELECT palcomir.advance_pupil(?::uuid, ?)"), { QString::fromStdString(pupil), next });
    if (q)
        q->finish();
    return q != nullptr;
}

std::optional<std::vector<TStudent>> ClassServer::roster(const std::string &className)
{
    QSqlQuery *q = run(QStringLiteral("SELECT id, name, male, next_lesson, stats FROM palcomir.pupils WHERE class = ?"
                                      " ORDER BY registered, id"),
        { QString::fromStdString(className) });
    if (!q)
        return std::nullopt;
    std::vector<TStudent> pupils;
    while (q->next()) {
        TStudent pupil(cp1250::fromUtf8(q->value(1).toString().toStdString()), 0, q->value(2).toBool() ? 1 : 0);
        pupil.Id = q->value(0).toString().toStdString();
        pupil.NextLesson = q->value(3).toInt();
        if (!readStats(q->value(4).toString(), pupil)) {
            m_error = QStringLiteral("Serwer klasy podał niepełne wyniki ucznia %1.").arg(q->value(0).toString());
            return std::nullopt;
        }
        pupils.push_back(std::move(pupil));
    }
    return pupils;
}

std::optional<std::map<std::string, std::vector<LessonRecord>>> ClassServer::lessonsWhere(
    const QString &condition, const QString &value)
{
    QSqlQuery *q
        = run(QStringLiteral("SELECT l.pupil, %1 FROM palcomir.lessons l JOIN palcomir.pupils p ON p.id = l.pupil"
                             " WHERE %2 ORDER BY l.finished, l.id")
                  .arg(QLatin1String(kLessonColumns), condition),
            { value });
    if (!q)
        return std::nullopt;
    std::map<std::string, std::vector<LessonRecord>> out;
    while (q->next())
        out[q->value(0).toString().toStdString()].push_back(lessonOf(*q, 1));
    return out;
}

std::optional<std::map<std::string, std::vector<LessonRecord>>> ClassServer::classLessons(const std::string &className)
{
    return lessonsWhere(QStringLiteral("p.class = ?"), QString::fromStdString(className));
}

std::optional<std::map<std::string, std::vector<LessonRecord>>> ClassServer::pupilLessons(const std::string &pupil)
{
    return lessonsWhere(QStringLiteral("p.id = ?::uuid"), QString::fromStdString(pupil));
}

std::optional<std::vector<CharTally>> ClassServer::charTotals(const std::string &pupil)
{
    QSqlQuery *q = run(QStringLiteral("SELECT c.ch, sum(c.hits), sum(c.misses), sum(c.time), sum(c.missed_places)"
                                      " FROM palcomir.lesson_chars c JOIN palcomir.lessons l ON l.id = c.lesson"
                                      " WHERE l.pupil = ?::uuid GROUP BY c.ch ORDER BY c.ch"),
        { QString::fromStdString(pupil) });
    if (!q)
        return std::nullopt;
    std::vector<CharTally> out;
    while (q->next()) {
        out.push_back({ static_cast<unsigned char>(q->value(0).toInt()), std::uint32_t(q->value(1).toLongLong()),
            std::uint32_t(q->value(2).toLongLong()), std::uint32_t(q->value(3).toLongLong()),
            std::uint32_t(q->value(4).toLongLong()) });
    }
    return out;
}

std::optional<std::vector<TConfusion>> ClassServer::confusionTotals(const std::string &pupil)
{
    QSqlQuery *q = run(QStringLiteral("SELECT c.expected, c.typed, sum(c.count) FROM palcomir.confusions c"
                                      " JOIN palcomir.lessons l ON l.id = c.lesson WHERE l.pupil = ?::uuid"
                                      " GROUP BY c.expected, c.typed ORDER BY c.expected, c.typed"),
        { QString::fromStdString(pupil) });
    if (!q)
        return std::nullopt;
    std::vector<TConfusion> out;
    while (q->next()) {
        out.push_back({ static_cast<unsigned char>(q->value(0).toInt()),
            static_cast<unsigned char>(q->value(1).toInt()), std::uint32_t(q->value(2).toLongLong()) });
    }
    return out;
}

namespace ServerExchange {

Inbox exchange(ClassServer &server, const Outbox &out)
{
    Inbox in;
    const auto failed = [&] {
        in.error = server.error();
        return in;
    };
    for (const TStudent &pupil : out.pupils) {
        if (!server.addPupil(pupil, out.className))
            return failed();
        in.added.push_back(pupil.Id);
    }
    for (const auto &[pupil, lesson] : out.lessons) {
        const auto start = std::chrono::steady_clock::now();
        const ClassServer::Sent sent = server.recordLesson(pupil, lesson);
        in.recordMs.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        switch (sent) {
        case ClassServer::Sent::Recorded:
        case ClassServer::Sent::Known:
            in.sent.push_back(lesson.uuid);
            break;
        case ClassServer::Sent::NoPupil:
            in.noPupil.push_back(lesson.uuid);
            break;
        case ClassServer::Sent::Failed:
            return failed();
        }
    }
    for (const auto &[pupil, next] : out.advances) {
        if (!server.advance(pupil, next))
            return failed();
        in.advanced[pupil] = next;
    }
    in.roster = server.roster(out.className);
    if (!in.roster)
        return failed();
    return in;
}

} // namespace ServerExchange

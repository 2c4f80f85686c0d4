#include "history/historystore.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <sys/vfs.h>

namespace {

// SQLite's result codes for a file that is no database, or a damaged one.
bool isDamage(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xFF;
    return ok && (code == 11 /* SQLITE_CORRUPT */ || code == 26 /* SQLITE_NOTADB */);
}

QByteArray blob(const std::string &bytes)
{
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

// SQLite's write-ahead log needs one host: on a network file system the
// file is written with a rollback journal instead.
bool onLocalDisk(const QString &path)
{
    struct statfs fs {
    };
    if (statfs(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x6969: // NFS
    case 0x517B: // SMB
    case 0xFF534D42: // CIFS
    case 0xFE534D42: // SMB2
    case 0x65735546: // FUSE (sshfs and the like)
    case 0x01021997: // 9P
    case 0x564C: // NCP
    case 0x73757245: // Coda
    case 0x6B414653: // AFS
        return false;
    default:
        return true;
    }
}

} // namespace

HistoryStore::HistoryStore(QString path, bool readOnly)
    : m_path(std::move(path))
    , m_connection(QStringLiteral("palcomir-history-%1").arg(quintptr(this)))
    , m_readOnly(readOnly)
{ }

HistoryStore::~HistoryStore()
{
    close();
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::removeDatabase(m_connection);
}

void HistoryStore::close()
{
    if (m_state != State::Open)
        return;
    if (!m_readOnly) {
        QSqlQuery q(database());
        q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    database().close();
    m_state = State::Closed;
}

const std::vector<std::vector<const char *>> &HistoryStore::migrations()
{
    static const std::vector<std::vector<const char *>> steps = {
        // 1: the students, their lessons and the wrong keystrokes.
        {
            "CREATE TABLE schema_version (version INTEGER NOT NULL)",
            "INSERT INTO schema_version VALUES (0)",
            "CREATE TABLE students (key INTEGER PRIMARY KEY, position INTEGER NOT NULL, name BLOB NOT NULL)",
            "CREATE TABLE lessons (id INTEGER PRIMARY KEY, student INTEGER NOT NULL, finished INTEGER NOT NULL,"
            " kind INTEGER NOT NULL, number INTEGER NOT NULL, detail TEXT NOT NULL, suggested INTEGER NOT NULL,"
            " seconds INTEGER NOT NULL, keystrokes INTEGER NOT NULL, errors INTEGER NOT NULL,"
            " speed REAL NOT NULL, accuracy REAL NOT NULL)",
            "CREATE TABLE confusions (lesson INTEGER NOT NULL, expected INTEGER NOT NULL, typed INTEGER NOT NULL,"
            " count INTEGER NOT NULL)",
        },
        // 2: the keystrokes of each character, and indexes for a student's lessons.
        {
            "CREATE TABLE lesson_chars (lesson INTEGER NOT NULL, ch INTEGER NOT NULL, hits INTEGER NOT NULL,"
            " misses INTEGER NOT NULL, time INTEGER NOT NULL)",
            "CREATE INDEX lessons_by_student ON lessons (student, finished)",
            "CREATE INDEX confusions_by_lesson ON confusions (lesson)",
            "CREATE INDEX lesson_chars_by_lesson ON lesson_chars (lesson)",
        },
        // 3: each pupil's own identity; a position no longer names anyone.
        {
            "ALTER TABLE students ADD COLUMN uid TEXT",
            "CREATE UNIQUE INDEX students_by_uid ON students (uid)",
        },
        // 4: the places of the text missed, each once; lessons kept before have none.
        {
            "ALTER TABLE lesson_chars ADD COLUMN missed_places INTEGER",
        },
        // 5: class mode: each lesson's identity on the class server and
        // whether it waits for it (1) or its pupil is not there (2); the
        // class's pupils as this computer knows them; advances not yet sent.
        {
            "ALTER TABLE lessons ADD COLUMN uuid TEXT",
            "ALTER TABLE lessons ADD COLUMN unsent INTEGER NOT NULL DEFAULT 0",
            "CREATE INDEX lessons_unsent ON lessons (unsent) WHERE unsent = 1",
            "CREATE TABLE class_pupils (uid TEXT PRIMARY KEY, known INTEGER NOT NULL)",
            "CREATE TABLE unsent_next (uid TEXT PRIMARY KEY, next INTEGER NOT NULL)",
        },
    };
    return steps;
}

QSqlDatabase HistoryStore::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

bool HistoryStore::ensureOpen()
{
    if (m_state != State::Closed)
        return m_state == State::Open;
    m_state = State::Off;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        m_problem = { DataProblem::Code::HistoryNoDriver };
        return false;
    }
    QSqlDatabase db = QSqlDatabase::contains(m_connection)
        ? database()
        : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_path);
    if (m_readOnly)
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    Prepared prepared = (!m_readOnly || QFileInfo::exists(m_path)) && db.open() ? prepare() : Prepared::Failed;
    // Another computer's file is only read: whatever is wrong with it is its owner's to mend.
    if (m_readOnly && prepared != Prepared::Ready) {
        database().close();
        return false;
    }
    if (prepared == Prepared::Damaged)
        prepared = startAfresh() ? Prepared::Ready : Prepared::Failed;
    if (prepared == Prepared::TooNew) {
        m_problem = { DataProblem::Code::HistoryTooNew, m_path };
    } else if (prepared == Prepared::Failed && !m_problem) {
        m_problem = { DataProblem::Code::HistoryNotOpened, m_path };
    }
    if (prepared != Prepared::Ready) {
        database().close();
        // A folder that could not be written may be writable at the next
        // lesson (a full disk freed): only a newer file stays off for the run.
        if (prepared == Prepared::Failed)
            m_state = State::Closed;
        return false;
    }
    m_state = State::Open;
    return true;
}

// Sets the connection up and brings the schema to the current version.
HistoryStore::Prepared HistoryStore::prepare()
{
    QSqlDatabase db = database();
    QSqlQuery q(db);
    // The first statement that reads the file tells a foreign or damaged
    // one; nothing is written to it before its version is known.
    int version = 0;
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !q.next())
        return isDamage(q.lastError()) ? Prepared::Damaged : Prepared::Failed;
    if (q.value(0).toInt() != 0) {
        // Tables but no version of ours: not our file, kept aside like a damaged one.
        const bool read = q.exec(QStringLiteral("SELECT version FROM schema_version"));
        if (!read && !isDamage(q.lastError()) && q.lastError().nativeErrorCode() != QLatin1String("1"))
            return Prepared::Failed;
        if (!read || !q.next())
            return Prepared::Damaged;
        version = q.value(0).toInt();
    }
    const int known = int(migrations().size());
    if (version > known)
        return Prepared::TooNew;
    if (version < 0)
        return Prepared::Damaged;
    if (m_readOnly)
        return version == known ? Prepared::Ready : Prepared::Failed;
    const QString journal = onLocalDisk(m_path) ? QStringLiteral("WAL") : QStringLiteral("DELETE");
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=") + journal))
        return isDamage(q.lastError()) ? Prepared::Damaged : Prepared::Failed;
    // A commit waits for the disk only at checkpoints: a lesson's record
    // costs little, and a crash loses at most the last lessons, never the file.
    q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    for (; version < known; ++version) {
        if (!db.transaction())
            return Prepared::Failed;
        bool ok = true;
        for (const char *statement : migrations()[std::size_t(version)])
            ok = ok && q.exec(QString::fromUtf8(statement));
        ok = ok && q.exec(QStringLiteral("UPDATE schema_version SET version = %1").arg(version + 1));
        if (!ok || !db.commit()) {
            const bool damage = isDamage(q.lastError());
            db.rollback();
            return damage ? Prepared::Damaged : Prepared::Failed;
        }
    }
    return Prepared::Ready;
}

// The damaged file is kept aside and a new one started in its place.
bool HistoryStore::startAfresh()
{
    QSqlDatabase db = database();
    db.close();
    if (!copyAside()) {
        m_problem = { DataProblem::Code::HistoryDamagedKept, m_path };
        return false;
    }
    for (const char *suffix : { "", "-wal", "-shm" })
        QFile::remove(m_path + QLatin1String(suffix));
    m_problem = { DataProblem::Code::HistoryDamagedCopied, m_path, m_damagedCopy };
    return db.open() && prepare() == Prepared::Ready;
}

// palcomir.db.bad, or beside an earlier copy a name that says when.
bool HistoryStore::copyAside()
{
    QString target = m_path + QStringLiteral(".bad");
    if (QFile::exists(target)) {
        const QString stamped = target + QDateTime::currentDateTime().toString(QStringLiteral("-yyyyMMdd-HHmmss"));
        target = stamped;
        for (int n = 2; QFile::exists(target); ++n) {
            if (n > 1000)
                return false;
            target = stamped + QStringLiteral("-%1").arg(n);
        }
    }
    if (!QFile::copy(m_path, target))
        return false;
    // The log may hold the last lessons; it goes with the file.
    if (QFile::exists(m_path + QStringLiteral("-wal")))
        QFile::copy(m_path + QStringLiteral("-wal"), target + QStringLiteral("-wal"));
    m_damagedCopy = target;
    return true;
}

void HistoryStore::failed(const QSqlError &error)
{
    if (isDamage(error)) {
        if (startAfresh())
            return;
        m_state = State::Off;
        return;
    }
    // SQLite's own words are English: they go on a line of their own.
    if (!m_problem)
        m_problem = { DataProblem::Code::HistoryNotWritten, m_path, {}, 0, error.databaseText() };
}

DataProblem HistoryStore::takeProblem()
{
    return std::exchange(m_problem, DataProblem());
}

std::int64_t HistoryStore::keyOf(const std::string &id, const std::string &name, bool create)
{
    if (id.empty() || !ensureOpen())
        return 0;
    QSqlQuery q(database());
    q.prepare(QStringLiteral("SELECT key FROM students WHERE uid = ?"));
    q.addBindValue(QString::fromStdString(id));
    if (!q.exec()) {
        failed(q.lastError());
        return 0;
    }
    if (q.next())
        return q.value(0).toLongLong();
    if (!create || m_readOnly)
        return 0;
    q.prepare(QStringLiteral("INSERT INTO students (position, name, uid) VALUES (-1, ?, ?)"));
    q.addBindValue(blob(name));
    q.addBindValue(QString::fromStdString(id));
    if (!q.exec()) {
        failed(q.lastError());
        return 0;
    }
    return q.lastInsertId().toLongLong();
}

void HistoryStore::adoptPupils(const std::vector<std::pair<std::string, std::string>> &list)
{
    if (m_readOnly || !ensureOpen())
        return;
    QSqlDatabase db = database();
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT key, position, name FROM students WHERE uid IS NULL")) || !q.next())
        return;
    db.transaction();
    QSqlQuery update(db);
    update.prepare(QStringLiteral("UPDATE students SET uid = ? WHERE key = ?"));
    bool ok = true;
    do {
        const qlonglong key = q.value(0).toLongLong();
        const int position = q.value(1).toInt();
        const QByteArray name = q.value(2).toByteArray();
        std::string id = "bez-ucznia-" + std::to_string(key);
        if (position >= 0 && std::size_t(position) < list.size()
            && list[std::size_t(position)].first == std::string(name.constData(), std::size_t(name.size())))
            id = list[std::size_t(position)].second;
        update.addBindValue(QString::fromStdString(id));
        update.addBindValue(key);
        ok = update.exec();
    } while (ok && q.next());
    if (!ok || !db.commit()) {
        const QSqlError error = ok ? db.lastError() : update.lastError();
        db.rollback();
        failed(error);
    }
}

void HistoryStore::removePupil(const std::string &id)
{
    if (m_readOnly)
        return;
    const std::int64_t key = keyOf(id, {}, false);
    if (key == 0)
        return;
    QSqlDatabase db = database();
    db.transaction();
    QSqlQuery q(db);
    bool ok = true;
    for (const char *statement : {
             "DELETE FROM confusions WHERE lesson IN (SELECT id FROM lessons WHERE student = ?)",
             "DELETE FROM lesson_chars WHERE lesson IN (SELECT id FROM lessons WHERE student = ?)",
             "DELETE FROM lessons WHERE student = ?",
             "DELETE FROM students WHERE key = ?",
         }) {
        q.prepare(QString::fromUtf8(statement));
        q.addBindValue(qlonglong(key));
        ok = ok && q.exec();
    }
    if (!ok || !db.commit()) {
        const QSqlError error = ok ? db.lastError() : q.lastError();
        db.rollback();
        failed(error);
    }
}

std::vector<std::pair<std::string, std::string>> HistoryStore::pupils()
{
    std::vector<std::pair<std::string, std::string>> out;
    if (!ensureOpen())
        return out;
    QSqlQuery q(database());
    if (!q.exec(QStringLiteral("SELECT uid, name FROM students WHERE uid IS NOT NULL"
                               " AND key IN (SELECT student FROM lessons)"))) {
        failed(q.lastError());
        return out;
    }
    while (q.next()) {
        const QByteArray name = q.value(1).toByteArray();
        out.emplace_back(q.value(0).toString().toStdString(), std::string(name.constData(), std::size_t(name.size())));
    }
    return out;
}

bool HistoryStore::record(const std::string &id, const std::string &name, const LessonRecord &lesson, bool unsent)
{
    if (m_readOnly || !ensureOpen())
        return false;
    QSqlDatabase db = database();
    if (!db.transaction()) {
        failed(db.lastError());
        return false;
    }
    const std::int64_t key = keyOf(id, name, true);
    if (key == 0) {
        db.rollback();
        return false;
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO lessons (student, finished, kind, number, detail, suggested, seconds,"
                             " keystrokes, errors, speed, accuracy, uuid, unsent)"
                             " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant &value : {
             QVariant(qlonglong(key)),
             QVariant(qlonglong(lesson.when)),
             QVariant(int(lesson.kind)),
             QVariant(lesson.number),
             QVariant(QString::fromStdString(lesson.detail)),
             QVariant(lesson.suggested ? 1 : 0),
             QVariant(qlonglong(lesson.seconds)),
             QVariant(qlonglong(lesson.keystrokes)),
             QVariant(qlonglong(lesson.errors)),
             QVariant(double(lesson.speed)),
             QVariant(double(lesson.accuracy)),
             lesson.uuid.empty() ? QVariant() : QVariant(QString::fromStdString(lesson.uuid)),
             QVariant(unsent ? 1 : 0),
         })
        q.addBindValue(value);
    bool ok = q.exec();
    const qlonglong lessonId = q.lastInsertId().toLongLong();

    QSqlQuery chars(db);
    chars.prepare(QStringLiteral(
        "INSERT INTO lesson_chars (lesson, ch, hits, misses, time, missed_places) VALUES (?, ?, ?, ?, ?, ?)"));
    for (const CharTally &t : lesson.chars) {
        if (!ok)
            break;
        chars.addBindValue(lessonId);
        chars.addBindValue(int(t.Char));
        chars.addBindValue(qlonglong(t.Hits));
        chars.addBindValue(qlonglong(t.Misses));
        chars.addBindValue(qlonglong(t.Time));
        chars.addBindValue(qlonglong(t.MissedPlaces));
        ok = chars.exec();
    }
    QSqlQuery pairs(db);
    pairs.prepare(QStringLiteral("INSERT INTO confusions (lesson, expected, typed, count) VALUES (?, ?, ?, ?)"));
    for (const TConfusion &c : lesson.confusions) {
        if (!ok)
            break;
        pairs.addBindValue(lessonId);
        pairs.addBindValue(int(c.Expected));
        pairs.addBindValue(int(c.Typed));
        pairs.addBindValue(qlonglong(c.Count));
        ok = pairs.exec();
    }
    if (!ok || !db.commit()) {
        QSqlError error = db.lastError();
        for (const QSqlQuery *query : { &q, &chars, &pairs }) {
            if (query->lastError().isValid())
                error = query->lastError();
        }
        db.rollback();
        failed(error);
        return false;
    }
    return true;
}

bool HistoryStore::runForPupil(QSqlQuery &q, const std::string &id, const QString &sql)
{
    const std::int64_t key = keyOf(id, {}, false);
    if (key == 0)
        return false;
    q = QSqlQuery(database());
    q.setForwardOnly(true);
    q.prepare(sql);
    q.addBindValue(qlonglong(key));
    if (q.exec())
        return true;
    failed(q.lastError());
    return false;
}

std::vector<LessonRecord> HistoryStore::lessons(const std::string &id)
{
    std::vector<LessonRecord> out;
    QSqlQuery q(database());
    if (!runForPupil(q, id,
            QStringLiteral("SELECT finished, kind, number, detail, suggested, seconds, keystrokes, errors, speed,"
                           " accuracy, uuid FROM lessons WHERE student = ? ORDER BY finished, id")))
        return out;
    while (q.next()) {
        LessonRecord r;
        r.uuid = q.value(10).toString().toStdString();
        r.when = q.value(0).toLongLong();
        r.kind = LessonKind(q.value(1).toInt());
        r.number = q.value(2).toInt();
        r.detail = q.value(3).toString().toStdString();
        r.suggested = q.value(4).toInt() != 0;
        r.seconds = std::uint32_t(q.value(5).toLongLong());
        r.keystrokes = std::uint32_t(q.value(6).toLongLong());
        r.errors = std::uint32_t(q.value(7).toLongLong());
        r.speed = q.value(8).toFloat();
        r.accuracy = q.value(9).toFloat();
        out.push_back(std::move(r));
    }
    return out;
}

namespace {
QString onlyUnsent(bool unsentOnly)
{
    return unsentOnly ? QStringLiteral(" AND l.unsent = 1") : QString();
}
} // namespace

std::vector<CharTally> HistoryStore::charTotals(const std::string &id, bool unsentOnly)
{
    std::vector<CharTally> out;
    QSqlQuery q(database());
    if (!runForPupil(q, id,
            QStringLiteral("SELECT c.ch, sum(c.hits), sum(c.misses), sum(c.time),"
                           " sum(coalesce(c.missed_places, c.misses)) FROM lesson_chars c"
                           " JOIN lessons l ON l.id = c.lesson WHERE l.student = ?%1 GROUP BY c.ch ORDER BY c.ch")
                .arg(onlyUnsent(unsentOnly))))
        return out;
    while (q.next()) {
        out.push_back({ static_cast<unsigned char>(q.value(0).toInt()), std::uint32_t(q.value(1).toLongLong()),
            std::uint32_t(q.value(2).toLongLong()), std::uint32_t(q.value(3).toLongLong()),
            std::uint32_t(q.value(4).toLongLong()) });
    }
    return out;
}

std::vector<TConfusion> HistoryStore::confusionTotals(const std::string &id, bool unsentOnly)
{
    std::vector<TConfusion> out;
    QSqlQuery q(database());
    if (!runForPupil(q, id,
            QStringLiteral("SELECT c.expected, c.typed, sum(c.count) FROM confusions c"
                           " JOIN lessons l ON l.id = c.lesson WHERE l.student = ?%1"
                           " GROUP BY c.expected, c.typed ORDER BY c.expected, c.typed")
                .arg(onlyUnsent(unsentOnly))))
        return out;
    while (q.next()) {
        out.push_back({ static_cast<unsigned char>(q.value(0).toInt()), static_cast<unsigned char>(q.value(1).toInt()),
            std::uint32_t(q.value(2).toLongLong()) });
    }
    return out;
}

bool HistoryStore::exec(const QString &sql, const QVariantList &values)
{
    if (m_readOnly || !ensureOpen())
        return false;
    QSqlQuery q(database());
    q.prepare(sql);
    for (const QVariant &value : values)
        q.addBindValue(value);
    if (q.exec())
        return true;
    failed(q.lastError());
    return false;
}

std::vector<QVariantList> HistoryStore::rows(const QString &sql, const QVariantList &values)
{
    std::vector<QVariantList> out;
    if (!ensureOpen())
        return out;
    QSqlQuery q(database());
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant &value : values)
        q.addBindValue(value);
    if (!q.exec()) {
        failed(q.lastError());
        return out;
    }
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < q.record().count(); ++i)
            row << q.value(i);
        out.push_back(std::move(row));
    }
    return out;
}

std::vector<std::pair<std::string, LessonRecord>> HistoryStore::unsentLessons()
{
    std::vector<std::pair<std::string, LessonRecord>> out;
    std::map<qlonglong, std::size_t> byKey;
    for (const QVariantList &r :
        rows(QStringLiteral("SELECT l.id, s.uid, l.finished, l.kind, l.number, l.detail, l.suggested, l.seconds,"
                            " l.keystrokes, l.errors, l.speed, l.accuracy, l.uuid FROM lessons l"
                            " JOIN students s ON s.key = l.student WHERE l.unsent = 1 ORDER BY l.finished, l.id"))) {
        LessonRecord lesson;
        lesson.when = r[2].toLongLong();
        lesson.kind = LessonKind(r[3].toInt());
        lesson.number = r[4].toInt();
        lesson.detail = r[5].toString().toStdString();
        lesson.suggested = r[6].toInt() != 0;
        lesson.seconds = std::uint32_t(r[7].toLongLong());
        lesson.keystrokes = std::uint32_t(r[8].toLongLong());
        lesson.errors = std::uint32_t(r[9].toLongLong());
        lesson.speed = r[10].toFloat();
        lesson.accuracy = r[11].toFloat();
        lesson.uuid = r[12].toString().toStdString();
        byKey[r[0].toLongLong()] = out.size();
        out.emplace_back(r[1].toString().toStdString(), std::move(lesson));
    }
    if (out.empty())
        return out;
    for (const QVariantList &r :
        rows(QStringLiteral("SELECT c.lesson, c.ch, c.hits, c.misses, c.time, coalesce(c.missed_places, c.misses)"
                            " FROM lesson_chars c JOIN lessons l ON l.id = c.lesson WHERE l.unsent = 1"
                            " ORDER BY c.lesson, c.ch"))) {
        if (const auto it = byKey.find(r[0].toLongLong()); it != byKey.end())
            out[it->second].second.chars.push_back({ static_cast<unsigned char>(r[1].toInt()),
                std::uint32_t(r[2].toLongLong()), std::uint32_t(r[3].toLongLong()), std::uint32_t(r[4].toLongLong()),
                std::uint32_t(r[5].toLongLong()) });
    }
    for (const QVariantList &r : rows(QStringLiteral("SELECT c.lesson, c.expected, c.typed, c.count FROM confusions c"
                                                     " JOIN lessons l ON l.id = c.lesson WHERE l.unsent = 1"
                                                     " ORDER BY c.lesson, c.expected, c.typed"))) {
        if (const auto it = byKey.find(r[0].toLongLong()); it != byKey.end())
            out[it->second].second.confusions.push_back({ static_cast<unsigned char>(r[1].toInt()),
                static_cast<unsigned char>(r[2].toInt()), std::uint32_t(r[3].toLongLong()) });
    }
    return out;
}

void HistoryStore::markLessons(const std::vector<std::string> &uuids, Delivery delivery)
{
    execEach(QStringLiteral("UPDATE lessons SET unsent = ? WHERE uuid = ?"), delivery == Delivery::Sent ? 0 : 2, uuids);
}

std::map<std::string, int> HistoryStore::unsentAdvances()
{
    std::map<std::string, int> out;
    for (const QVariantList &r : rows(QStringLiteral("SELECT uid, next FROM unsent_next")))
        out[r[0].toString().toStdString()] = r[1].toInt();
    return out;
}

void HistoryStore::setUnsentAdvance(const std::string &id, int next)
{
    exec(QStringLiteral("INSERT INTO unsent_next (uid, next) VALUES (?, ?)"
                        " ON CONFLICT (uid) DO UPDATE SET next = max(next, excluded.next)"),
        { QString::fromStdString(id), next });
}

void HistoryStore::dropAdvance(const std::string &id, int next)
{
    exec(QStringLiteral("DELETE FROM unsent_next WHERE uid = ? AND next <= ?"), { QString::fromStdString(id), next });
}

std::map<std::string, HistoryStore::Known> HistoryStore::classPupils()
{
    std::map<std::string, Known> out;
    for (const QVariantList &r : rows(QStringLiteral("SELECT uid, known FROM class_pupils")))
        out[r[0].toString().toStdString()] = Known(r[1].toInt());
    return out;
}

void HistoryStore::setClassPupils(const std::vector<std::string> &ids, Known known)
{
    execEach(QStringLiteral("INSERT OR REPLACE INTO class_pupils (known, uid) VALUES (?, ?)"), int(known), ids);
}

// The statement once for each identity, with value before it, in one transaction.
void HistoryStore::execEach(const QString &sql, const QVariant &value, const std::vector<std::string> &ids)
{
    if (ids.empty() || m_readOnly || !ensureOpen())
        return;
    QSqlDatabase db = database();
    db.transaction();
    for (const std::string &id : ids) {
        if (!exec(sql, { value, QString::fromStdString(id) })) {
            db.rollback();
            return;
        }
    }
    db.commit();
}

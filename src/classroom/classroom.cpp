#include "classroom/classroom.h"

#include "classroom/classlink.h"
#include "history/historystore.h"

#include <algorithm>

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QThread>
#include <QUuid>

namespace {

// Another computer holds the lock only while it writes the list; one that
// died holding it leaves a lock older than this, which is taken over.
constexpr int kStaleLockMs = 30000;
constexpr int kLockWaitMs = 10000;
// A computer that died between making the lock file and writing who holds it
// into it leaves an empty file, which QLockFile takes for stale only by its
// age: the whole lab would wait kStaleLockMs. A maker writes at once, so a
// lock file still empty this much later is such a leftover.
constexpr int kEmptyLockMs = 1000;

// QLockFile waits longer and longer between its tries (up to seconds), so a
// computer could wait long after the others are done; a short, uneven pause
// shares the list fairly among a whole lab.
bool takeLock(QLockFile &lock, const QString &path)
{
    lock.setStaleLockTime(kStaleLockMs);
    QDeadlineTimer deadline(kLockWaitMs);
    QElapsedTimer empty; // since when the lock file has been seen empty
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        const QFileInfo file(path);
        if (!file.exists() || file.size() != 0) {
            empty.invalidate();
        } else if (!empty.isValid()) {
            empty.start();
        } else if (empty.hasExpired(kEmptyLockMs)) {
            // Removed only when no live process holds the file's own lock.
            lock.removeStaleLockFile();
            empty.invalidate();
            continue;
        }
        QThread::msleep(5 + QRandomGenerator::global()->bounded(10));
    }
    return true;
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    return file.read(4 * 1024 * 1024);
}

std::string bytesOf(const QByteArray &bytes)
{
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

bool writeWhole(const QString &path, const std::string &bytes)
{
    return StudentStore::writeWhole(path, bytes.data(), qint64(bytes.size()));
}

} // namespace

Classroom::Classroom(QString studentsFile, QString historyFolder, QString computer, int &studentNo, QObject *parent)
    : QObject(parent)
    , m_store(std::move(studentsFile))
    , m_idsFile(m_store.path() + QStringLiteral(".ids"))
    , m_historyFolder(std::move(historyFolder))
    , m_computer(std::move(computer))
    , m_studentNo(studentNo)
{ }

Classroom::~Classroom()
{
    close();
}

std::string Classroom::newId() const
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
}

void Classroom::tell(const DataProblem &found)
{
    if (!found || m_told.contains(found))
        return;
    m_told << found;
    emit problem(found);
}

void Classroom::load()
{
    const QString folder = QFileInfo(m_store.path()).absolutePath();
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".palcomir-XXXXXX")));
    m_folderWritable = probe.open();
    probe.close();

    // The list and its identities are read as one: another computer writes
    // them one after the other, under the lock.
    const QString lockPath = m_store.path() + QStringLiteral(".lock");
    QLockFile lock(lockPath);
    const bool locked = m_folderWritable && takeLock(lock, lockPath);
    m_roster = m_store.load();
    tell(m_store.problem());
    const std::string bytes = bytesOf(m_store.bytes());
    const PupilIds known = PupilIds::parse(bytesOf(contentsOf(m_idsFile)));
    assignIds(m_roster, bytes, known, [this] { return newId(); });
    takeIds(m_roster, bytes, known.removed);
    m_studentNo = validStudentNo(m_studentNo, m_roster.count());
    // Identities made just now are written at once, so that every computer
    // sharing the folder knows the pupils by the same ones; the list itself
    // is left as it is until it changes.
    if (locked && m_roster.count() > 0 && known.listHash != fnv1a(bytes))
        writeWhole(m_idsFile, m_baseIds.serialize());

    if (!m_folderWritable) {
        tell({ DataProblem::Code::FolderReadOnly, folder, {}, 0, probe.errorString() });
    }
    // The mirror serves until the server answers.
    syncWithServer();
}

// What the folder holds now, as this computer has it: the base of the next merge.
void Classroom::takeIds(const TStudentList &written, const std::string &bytes, std::set<std::string> removed)
{
    m_baseIds = PupilIds::of(written, bytes, std::move(removed));
    m_changes.base.clear();
    for (const PupilIds::Pupil &p : m_baseIds.pupils)
        m_changes.base.insert(p.id);
}

TStudent *Classroom::current()
{
    return m_studentNo >= 0 && m_studentNo < m_roster.count() ? &m_roster.at(m_studentNo) : nullptr;
}

bool Classroom::saveRoster()
{
    if (m_link) {
        // Pupils removed here stay in the class: the teacher removes them there.
        std::set<std::string> listed;
        for (int i = 0; i < m_roster.count(); ++i)
            listed.insert(m_roster.at(i).Id);
        std::vector<std::string> hidden;
        for (const PupilIds::Pupil &p : m_baseIds.pupils) {
            if (!listed.count(p.id))
                hidden.push_back(p.id);
        }
        if (!hidden.empty()) {
            ownHistory()->setClassPupils(hidden, HistoryStore::Known::HiddenHere);
            emit pupilsHidden();
        }
        // The class as last read, with this computer's changes, or the list as it is.
        const bool written = m_serverRoster ? applyServerRoster() : writeMirror();
        syncWithServer();
        return written;
    }
    const QString path = m_store.path();
    // A folder that cannot be written was told at start; a full disk or a
    // folder made writable since is tried again at every change.
    if (!m_store.writable())
        return false;
    const QString lockPath = path + QStringLiteral(".lock");
    QLockFile lock(lockPath);
    if (!takeLock(lock, lockPath)) {
        if (m_folderWritable && lock.error() == QLockFile::LockFailedError) {
            tell({ DataProblem::Code::ListLocked, path });
        } else if (m_folderWritable) {
            tell({ DataProblem::Code::ListNotSaved, path });
        }
        return false;
    }
    m_folderWritable = true;

    StudentStore now(path);
    TStudentList file = now.load();
    tell(now.problem());
    if (!now.writable())
        return false;
    const std::string bytes = bytesOf(now.bytes());
    PupilIds known = PupilIds::parse(bytesOf(contentsOf(m_idsFile)));
    if (known.listHash != fnv1a(bytes) && m_baseIds.listHash == fnv1a(bytes))
        known = m_baseIds; // the list is as this computer last saw it
    // Another computer gave the same list its identities first: take them.
    if (known.listHash == m_baseIds.listHash && known.pupils.size() == m_baseIds.pupils.size()) {
        std::map<std::string, std::string> renamed;
        for (std::size_t i = 0; i < known.pupils.size(); ++i) {
            if (known.pupils[i].id != m_baseIds.pupils[i].id)
                renamed[m_baseIds.pupils[i].id] = known.pupils[i].id;
        }
        for (int i = 0; i < m_roster.count(); ++i) {
            if (const auto it = renamed.find(m_roster.at(i).Id); it != renamed.end())
                m_roster.at(i).Id = it->second;
        }
        for (const auto &[from, to] : renamed) {
            if (m_changes.base.erase(from))
                m_changes.base.insert(to);
            if (auto node = m_changes.lessons.extract(from)) {
                node.key() = to;
                m_changes.lessons.insert(std::move(node));
            }
        }
    }
    assignIds(file, bytes, known, [this] { return newId(); });
    for (int i = 0; i < m_roster.count(); ++i) {
        if (m_roster.at(i).Id.empty())
            m_roster.at(i).Id = newId();
    }

    const std::string currentId = current() ? current()->Id : std::string();
    std::set<std::string> removed = known.removed;
    removed.insert(m_forget.begin(), m_forget.end());
    MergedRoster merged = mergeRosters(file, removed, m_roster, m_changes);
    const std::string out = merged.list.serialize();
    // The identities go first: a list whose identities are lost would make
    // strangers of its pupils, while identities a step ahead of their list
    // still find every pupil whose record did not change.
    const PupilIds ids = PupilIds::of(merged.list, out, merged.removed);
    const std::string idsText = ids.serialize();
    const bool unchanged = out == bytes && bytesOf(contentsOf(m_idsFile)) == idsText;
    if (!unchanged && (!writeWhole(m_idsFile, idsText) || !m_store.save(merged.list))) {
        tell({ DataProblem::Code::ListNotSaved, path });
        return false;
    }
    // Pupils removed anywhere lose their lessons on this computer too.
    if (HistoryStore *own = ownHistory()) {
        for (const std::string &id : merged.removed) {
            if (!m_baseIds.removed.count(id))
                own->removePupil(id);
        }
    }
    m_roster = std::move(merged.list);
    m_changes.lessons.clear();
    m_forget.clear();
    takeIds(m_roster, out, ids.removed);
    m_studentNo = -1;
    for (int i = 0; i < m_roster.count() && !currentId.empty(); ++i) {
        if (m_roster.at(i).Id == currentId)
            m_studentNo = i;
    }
    return true;
}

void Classroom::recordLesson(const TCharCounts &counts, const LessonRecord &record)
{
    TStudent *student = current();
    if (!student)
        return;
    RecordCharCounts(*student, counts);
    if (student->Id.empty())
        student->Id = newId();
    const std::string id = student->Id;
    const std::string name = student->Name;
    if (m_link) {
        // Kept here first: the server may be away.
        LessonRecord lesson = record;
        lesson.uuid = newId();
        // A history that cannot be written leaves it in memory, for this run.
        if (!ownHistory()->record(id, name, lesson, true))
            m_unkept.emplace_back(id, std::move(lesson));
        tell(ownHistory()->takeProblem());
        writeMirror();
        syncWithServer();
        return;
    }
    m_changes.lessons[student->Id].push_back(counts);
    saveRoster();
    if (HistoryStore *own = ownHistory()) {
        own->record(id, name, record);
        tell(own->takeProblem());
    }
}

void Classroom::setNextLesson(int next)
{
    if (TStudent *student = current(); student && student->NextLesson != next) {
        student->NextLesson = next;
        if (m_link) {
            ownHistory()->setUnsentAdvance(student->Id, next);
            m_unkeptAdvances[student->Id] = next;
        }
        saveRoster();
    }
}

QString Classroom::historyFile() const
{
    return QDir(m_historyFolder).filePath(QStringLiteral("palcomir-%1.db").arg(m_computer));
}

QStringList Classroom::dataFiles() const
{
    QStringList files { m_store.path(), m_idsFile };
    for (const QFileInfo &f : QDir(m_historyFolder).entryInfoList({ QStringLiteral("palcomir*.db") }, QDir::Files))
        files << f.filePath();
    return files;
}

HistoryStore *Classroom::ownHistory()
{
    if (!m_history) {
        const QString own = historyFile();
        // The one history file of earlier versions becomes this computer's.
        const QString single = QDir(m_historyFolder).filePath(QStringLiteral("palcomir.db"));
        if (!QFileInfo::exists(own) && QFileInfo::exists(single) && QFile::rename(single, own)) {
            QFile::rename(single + QStringLiteral("-wal"), own + QStringLiteral("-wal"));
            QFile::remove(single + QStringLiteral("-shm"));
        }
        // In a folder that cannot be written the history is still read.
        m_history = std::make_unique<HistoryStore>(own, !m_folderWritable);
        std::vector<std::pair<std::string, std::string>> list;
        for (int i = 0; i < m_roster.count(); ++i)
            list.emplace_back(m_roster.at(i).Name, m_roster.at(i).Id);
        m_history->adoptPupils(list);
        tell(m_history->takeProblem());
    }
    return m_history.get();
}

std::vector<HistoryStore *> Classroom::allHistories()
{
    std::vector<HistoryStore *> stores;
    if (HistoryStore *own = ownHistory())
        stores.push_back(own);
    const QString ownPath = QFileInfo(historyFile()).absoluteFilePath();
    for (const QFileInfo &f : QDir(m_historyFolder).entryInfoList({ QStringLiteral("palcomir*.db") }, QDir::Files)) {
        const QString path = f.absoluteFilePath();
        if (path == ownPath)
            continue;
        auto &store = m_others[path];
        if (!store)
            store = std::make_unique<HistoryStore>(path, true);
        stores.push_back(store.get());
    }
    return stores;
}

std::vector<LessonRecord> Classroom::lessons(const std::string &id)
{
    if (serverAnswers()) {
        if (auto read = m_link->call<std::map<std::string, std::vector<LessonRecord>>>(
                [id](ClassServer &server) { return server.pupilLessons(id); }))
            return withWaiting(std::move(*read), { id })[id];
    }
    return localLessons(id);
}

std::vector<LessonRecord> Classroom::localLessons(const std::string &id)
{
    std::vector<LessonRecord> all;
    for (HistoryStore *store : allHistories()) {
        std::vector<LessonRecord> some = store->lessons(id);
        all.insert(all.end(), std::make_move_iterator(some.begin()), std::make_move_iterator(some.end()));
    }
    tell(ownHistory()->takeProblem());
    std::stable_sort(
        all.begin(), all.end(), [](const LessonRecord &a, const LessonRecord &b) { return a.when < b.when; });
    return all;
}

// What a pupil's totals are summed from: in class mode the server's, with
// what still waits here for it; otherwise every computer's history file.
template<typename Total>
std::vector<std::vector<Total>> Classroom::totalsParts(
    std::optional<std::vector<Total>> (ClassServer::*fromServer)(const std::string &),
    std::vector<Total> (HistoryStore::*fromFile)(const std::string &, bool), const std::string &id)
{
    std::optional<std::vector<Total>> server;
    if (serverAnswers())
        server = m_link->call<std::vector<Total>>([id, fromServer](ClassServer &s) { return (s.*fromServer)(id); });
    std::vector<std::vector<Total>> parts;
    if (server) {
        parts.push_back(std::move(*server));
        parts.push_back((ownHistory()->*fromFile)(id, true));
    } else {
        for (HistoryStore *store : allHistories())
            parts.push_back((store->*fromFile)(id, false));
    }
    return parts;
}

std::vector<CharTally> Classroom::charTotals(const std::string &id)
{
    std::map<unsigned char, CharTally> sums;
    for (const std::vector<CharTally> &part : totalsParts(&ClassServer::charTotals, &HistoryStore::charTotals, id)) {
        for (const CharTally &t : part) {
            CharTally &sum = sums[t.Char];
            sum.Char = t.Char;
            sum.Hits += t.Hits;
            sum.Misses += t.Misses;
            sum.Time += t.Time;
            sum.MissedPlaces += t.MissedPlaces;
        }
    }
    tell(ownHistory()->takeProblem());
    std::vector<CharTally> out;
    for (const auto &[c, t] : sums)
        out.push_back(t);
    return out;
}

std::vector<TConfusion> Classroom::confusionTotals(const std::string &id)
{
    std::map<std::pair<unsigned char, unsigned char>, std::uint32_t> sums;
    for (const std::vector<TConfusion> &part :
        totalsParts(&ClassServer::confusionTotals, &HistoryStore::confusionTotals, id)) {
        for (const TConfusion &c : part)
            sums[{ c.Expected, c.Typed }] += c.Count;
    }
    tell(ownHistory()->takeProblem());
    std::vector<TConfusion> out;
    for (const auto &[pair, count] : sums)
        out.push_back({ pair.first, pair.second, count });
    return out;
}

void Classroom::close()
{
    if (m_link)
        writeMirror();
    else
        saveRoster();
    if (m_history)
        m_history->close();
    for (auto &[path, store] : m_others)
        store->close();
}

std::vector<std::pair<std::string, std::string>> Classroom::pupilsGone()
{
    // The class's pupils are the server's; the teacher removes them there.
    if (m_link)
        return {};
    std::set<std::string> listed;
    for (int i = 0; i < m_roster.count(); ++i)
        listed.insert(m_roster.at(i).Id);
    std::vector<std::pair<std::string, std::string>> gone;
    std::set<std::string> seen;
    for (HistoryStore *store : allHistories()) {
        for (auto &[id, name] : store->pupils()) {
            if (!listed.count(id) && !m_baseIds.removed.count(id) && seen.insert(id).second)
                gone.emplace_back(id, name);
        }
    }
    return gone;
}

void Classroom::forgetPupil(const std::string &id)
{
    m_forget.insert(id);
    saveRoster();
}

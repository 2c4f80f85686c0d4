// Classroom in class mode: the class on the class server, this computer's
// list as its mirror, and the lessons that wait for the server.
#include "classroom/classroom.h"

#include "classroom/classlink.h"
#include "history/historystore.h"

#include <algorithm>

#include <QApplication>
#include <QTimer>

namespace {

constexpr int kSyncEveryMs = 60 * 1000;

void byFinishing(std::vector<LessonRecord> &lessons)
{
    std::stable_sort(
        lessons.begin(), lessons.end(), [](const LessonRecord &a, const LessonRecord &b) { return a.when < b.when; });
}

} // namespace

void Classroom::useClassServer(const LabSettings &lab)
{
    if (!lab.classMode())
        return;
    m_className = lab.className;
    m_link = std::make_unique<ClassLink>(lab.server, m_computer);
    m_everyMinute = new QTimer(this);
    m_everyMinute->setInterval(kSyncEveryMs);
    connect(m_everyMinute, &QTimer::timeout, this, &Classroom::syncWithServer);
    m_everyMinute->start();
}

void Classroom::syncWithServer()
{
    if (!m_link)
        return;
    if (m_syncing) {
        m_syncAgain = true;
        return;
    }
    HistoryStore *own = ownHistory();
    ServerExchange::Outbox out;
    out.className = m_className;
    const std::map<std::string, HistoryStore::Known> known = own->classPupils();
    for (int i = 0; i < m_roster.count(); ++i) {
        const TStudent &pupil = m_roster.at(i);
        if (!pupil.Id.empty() && !known.count(pupil.Id))
            out.pupils.push_back(pupil);
    }
    out.lessons = own->unsentLessons();
    out.lessons.insert(out.lessons.end(), m_unkept.begin(), m_unkept.end());
    out.advances = own->unsentAdvances();
    for (const auto &[pupil, next] : m_unkeptAdvances)
        out.advances[pupil] = std::max(out.advances[pupil], next);
    tell(own->takeProblem());
    m_syncing = true;
    m_link->post<ServerExchange::Inbox>(
        [out = std::move(out)](ClassServer &server) { return ServerExchange::exchange(server, out); },
        [this](ServerExchange::Inbox in) { received(std::move(in)); });
}

void Classroom::received(ServerExchange::Inbox in)
{
    m_syncing = false;
    HistoryStore *own = ownHistory();
    own->setClassPupils(in.added, HistoryStore::Known::OnServer);
    own->markLessons(in.sent, HistoryStore::Delivery::Sent);
    own->markLessons(in.noPupil, HistoryStore::Delivery::NoPupil);
    for (const auto &[pupil, next] : in.advanced)
        own->dropAdvance(pupil, next);
    std::set<std::string> done(in.sent.begin(), in.sent.end());
    done.insert(in.noPupil.begin(), in.noPupil.end());
    std::erase_if(m_unkept, [&done](const auto &unkept) { return done.count(unkept.second.uuid) != 0; });
    std::erase_if(m_unkeptAdvances, [&in](const auto &advance) {
        const auto sent = in.advanced.find(advance.first);
        return sent != in.advanced.end() && sent->second >= advance.second;
    });
    tell(own->takeProblem());
    m_serverAway = !in.error.isEmpty();
    m_recordMs = std::move(in.recordMs);
    // Once a run: the lessons go on, and their results reach the server later.
    if (m_serverAway && !m_toldAway) {
        m_toldAway = true;
        tell({ DataProblem::Code::ServerAway, {}, {}, 0, in.error });
    }
    if (in.roster) {
        m_lastClass = *in.roster;
        m_serverRoster = std::move(in.roster);
        // A dialog may hold a pupil of the list: it changes when the dialog is done.
        const bool windows = qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
        if (!windows || !QApplication::activeModalWidget())
            applyServerRoster();
        else
            emit serverRosterWaiting();
    }
    if (std::exchange(m_syncAgain, false))
        syncWithServer();
    else
        emit synced();
}

// The list becomes the class as the server has it, without the pupils hidden
// here, with this computer's lessons not yet on the server applied again, and
// with the pupils registered here that the server does not have yet.
bool Classroom::applyServerRoster()
{
    if (!m_serverRoster)
        return true;
    HistoryStore *own = ownHistory();
    const std::map<std::string, HistoryStore::Known> known = own->classPupils();
    std::map<std::string, std::vector<TCharCounts>> waiting;
    for (const auto &[pupil, lesson] : own->unsentLessons())
        waiting[pupil].push_back(countsOf(lesson.chars));
    std::map<std::string, int> advances = own->unsentAdvances();
    for (const auto &[pupil, next] : m_unkeptAdvances)
        advances[pupil] = std::max(advances[pupil], next);
    for (const auto &[pupil, lesson] : m_unkept)
        waiting[pupil].push_back(countsOf(lesson.chars));

    const std::string currentId = current() ? current()->Id : std::string();
    TStudentList list;
    std::set<std::string> onServer;
    std::vector<std::string> firstSeen;
    for (TStudent &pupil : *m_serverRoster) {
        onServer.insert(pupil.Id);
        const auto seen = known.find(pupil.Id);
        if (seen == known.end())
            firstSeen.push_back(pupil.Id);
        else if (seen->second == HistoryStore::Known::HiddenHere)
            continue;
        for (const TCharCounts &counts : waiting[pupil.Id])
            RecordCharCounts(pupil, counts);
        if (const auto next = advances.find(pupil.Id); next != advances.end())
            pupil.NextLesson = std::max(pupil.NextLesson, next->second);
        list.add(pupil);
    }
    for (int i = 0; i < m_roster.count(); ++i) {
        const TStudent &pupil = m_roster.at(i);
        if (!onServer.count(pupil.Id) && !known.count(pupil.Id))
            list.add(pupil);
    }
    own->setClassPupils(firstSeen, HistoryStore::Known::OnServer);
    tell(own->takeProblem());
    m_serverRoster.reset();
    m_roster = std::move(list);
    m_studentNo = -1;
    for (int i = 0; i < m_roster.count() && !currentId.empty(); ++i) {
        if (m_roster.at(i).Id == currentId)
            m_studentNo = i;
    }
    const bool written = writeMirror();
    emit rosterChanged();
    return written;
}

// The list in the folder is this computer's copy of the class: written as it
// is, no merge.
bool Classroom::writeMirror()
{
    for (int i = 0; i < m_roster.count(); ++i) {
        if (m_roster.at(i).Id.empty())
            m_roster.at(i).Id = newId();
    }
    const std::string out = m_roster.serialize();
    const PupilIds ids = PupilIds::of(m_roster, out, {});
    if (!m_store.writable()
        || !StudentStore::writeWhole(m_idsFile, ids.serialize().data(), qint64(ids.serialize().size()))
        || !m_store.save(m_roster)) {
        tell({ DataProblem::Code::ListNotSaved, m_store.path() });
        return false;
    }
    takeIds(m_roster, out, {});
    return true;
}

bool Classroom::serverAnswers()
{
    if (m_link && m_serverAway)
        syncWithServer();
    return m_link && !m_serverAway;
}

std::vector<TStudent> Classroom::classRoster()
{
    // The teacher asks for the class: the server is asked even when the last
    // round failed, and what it says stands for the reads that follow.
    if (m_link) {
        const std::string className = m_className;
        auto read = m_link->call<std::vector<TStudent>>(
            [className](ClassServer &server) { return server.roster(className); });
        m_serverAway = !read;
        if (read)
            m_lastClass = std::move(*read);
    }
    if (m_link && !m_lastClass.empty())
        return m_lastClass;
    std::vector<TStudent> list;
    for (int i = 0; i < m_roster.count(); ++i)
        list.push_back(m_roster.at(i));
    return list;
}

std::map<std::string, std::vector<LessonRecord>> Classroom::lessonsOf(const std::vector<std::string> &ids)
{
    if (serverAnswers()) {
        const std::string className = m_className;
        if (auto read = m_link->call<std::map<std::string, std::vector<LessonRecord>>>(
                [className](ClassServer &server) { return server.classLessons(className); }))
            return withWaiting(std::move(*read), ids);
    }
    std::map<std::string, std::vector<LessonRecord>> out;
    for (const std::string &id : ids)
        out[id] = localLessons(id);
    return out;
}

// The server's lessons of these pupils and the ones still waiting here for
// it, in the order they finished.
std::map<std::string, std::vector<LessonRecord>> Classroom::withWaiting(
    std::map<std::string, std::vector<LessonRecord>> read, const std::vector<std::string> &ids)
{
    std::map<std::string, std::vector<LessonRecord>> out;
    for (const std::string &id : ids)
        out[id] = std::move(read[id]);
    std::vector<std::pair<std::string, LessonRecord>> waiting = ownHistory()->unsentLessons();
    waiting.insert(waiting.end(), m_unkept.begin(), m_unkept.end());
    for (auto &[pupil, lesson] : waiting) {
        if (const auto it = out.find(pupil); it != out.end())
            it->second.push_back(std::move(lesson));
    }
    for (auto &[id, list] : out)
        byFinishing(list);
    return out;
}

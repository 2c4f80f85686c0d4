#pragma once

#include "classroom/classserver.h"
#include "classroom/pupilids.h"
#include "classroom/rostermerge.h"
#include "history/lessonrecord.h"
#include "settings/labsettings.h"
#include "students/studentstore.h"
#include "students/tstudentlist.h"
#include "widgets/dataproblem.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QString>

class ClassLink;
class HistoryStore;
class QTimer;

// The class's data, in one owner: the list of pupils (pisarz.sta) with who
// each one is (pisarz.sta.ids), and the learning history, one file per
// computer (palcomir-<computer>.db) beside the list. Several computers may
// share the folder: every save of the list takes a lock beside it, reads the
// list as it is now and merges this computer's changes into it; each computer
// writes only its own history file and reads everyone's.
//
// The window asks this owner and shows what it returns; problems come as
// the signal problem(), each once, with a code and the file concerned (the
// window words them), and the program goes on without the part that
// failed, trying again at the next change.
//
// In class mode the class lives on the class server (useClassServer): the
// list in the folder mirrors the class as this computer last saw it, so that
// it works on without the server; finished lessons wait in this computer's
// history, marked unsent, until the server has them.
class Classroom : public QObject
{
    Q_OBJECT

public:
    // studentNo: the setting that names the current pupil by position; it
    // follows its pupil when the list changes under it.
    Classroom(QString studentsFile, QString historyFolder, QString computer, int &studentNo, QObject *parent = nullptr);
    ~Classroom() override;

    // Class mode, from before load(): the pupils of lab.className on lab.server.
    void useClassServer(const LabSettings &lab);
    bool classMode() const { return m_link != nullptr; }
    const std::string &className() const { return m_className; }

    // Reads the list. Says at once when the folder cannot be written.
    void load();

    const TStudentList &roster() const { return m_roster; }
    // For the registration dialog, which adds and removes pupils in place;
    // saveRoster() after each change.
    TStudentList &editableRoster() { return m_roster; }
    TStudent *current();

    // Merges the list with the one in the folder and writes both; false when
    // nothing was written (told through problem()).
    bool saveRoster();

    // A finished lesson of the current pupil: the results, the history, the list.
    void recordLesson(const TCharCounts &counts, const LessonRecord &record);
    // The course goes on at `next` for the current pupil.
    void setNextLesson(int next);

    // The pupil's history from every computer's file.
    std::vector<LessonRecord> lessons(const std::string &id);
    std::vector<CharTally> charTotals(const std::string &id);
    std::vector<TConfusion> confusionTotals(const std::string &id);

    // Every pupil of the class, hidden here or not: the server's when it
    // answers, otherwise the list. Without a server, the list.
    std::vector<TStudent> classRoster();
    // The lessons of these pupils, at once.
    std::map<std::string, std::vector<LessonRecord>> lessonsOf(const std::vector<std::string> &ids);

    // Class mode: the list becomes the class as last read, when a read
    // waits; false when the list could not be written.
    bool applyServerRoster();

    // Sends what waits for the class server and reads the class again: after
    // each change, every minute, and when asked. Nothing waits for it.
    void syncWithServer();
    // How long the server took over each lesson of the last round, in ms.
    const std::vector<double> &lastRecordTimes() const { return m_recordMs; }

    // Pupils the history holds lessons of who are no longer on the list:
    // identity and name (Windows-1250).
    std::vector<std::pair<std::string, std::string>> pupilsGone();
    // Their lessons go from every computer's file (each deletes its own).
    void forgetPupil(const std::string &id);

    const QString &studentsFile() const { return m_store.path(); }
    // This computer's history file.
    QString historyFile() const;
    // Every file a backup must hold.
    QStringList dataFiles() const;

    // Saves the list and closes the history so its file is whole.
    void close();

signals:
    void problem(const DataProblem &problem);
    // Class mode: the list changed as the server said.
    void rosterChanged();
    // Class mode: the class as the server has it waits until no dialog is
    // shown, or until applyServerRoster().
    void serverRosterWaiting();
    // Class mode: pupils removed from the list here stay in the class.
    void pupilsHidden();
    // Class mode: a round with the server ended, answered or not.
    void synced();

private:
    void tell(const DataProblem &problem);
    HistoryStore *ownHistory();
    std::vector<HistoryStore *> allHistories();
    void takeIds(const TStudentList &written, const std::string &bytes, std::set<std::string> removed);
    std::string newId() const;
    // Class mode.
    bool writeMirror();
    void received(ServerExchange::Inbox in);
    // Whether a window's read goes to the server; when it is away, the
    // local history answers and a round is started to see whether it is back.
    bool serverAnswers();
    // Every computer's history files.
    std::vector<LessonRecord> localLessons(const std::string &id);
    std::map<std::string, std::vector<LessonRecord>> withWaiting(
        std::map<std::string, std::vector<LessonRecord>> read, const std::vector<std::string> &ids);
    template<typename Total>
    std::vector<std::vector<Total>> totalsParts(
        std::optional<std::vector<Total>> (ClassServer::*fromServer)(const std::string &),
        std::vector<Total> (HistoryStore::*fromFile)(const std::string &, bool), const std::string &id);

    StudentStore m_store;
    QString m_idsFile;
    QString m_historyFolder;
    QString m_computer;
    int &m_studentNo;
    TStudentList m_roster;
    LocalChanges m_changes;
    std::set<std::string> m_forget; // pupils whose lessons every computer deletes
    bool m_folderWritable = true;
    PupilIds m_baseIds; // the list as last read or written, with its identities
    std::unique_ptr<HistoryStore> m_history;
    std::map<QString, std::unique_ptr<HistoryStore>> m_others;
    QList<DataProblem> m_told;

    std::unique_ptr<ClassLink> m_link;
    std::string m_className;
    QTimer *m_everyMinute = nullptr;
    bool m_syncing = false;
    bool m_syncAgain = false;
    bool m_serverAway = false; // the last exchange failed
    bool m_toldAway = false;
    std::optional<std::vector<TStudent>> m_serverRoster; // read, not yet applied to the list
    std::vector<TStudent> m_lastClass; // the class as last read
    std::vector<double> m_recordMs;
    // What waits for the server, in memory as well, for this run: lessons the
    // history file could not take, and the course's advances.
    std::vector<std::pair<std::string, LessonRecord>> m_unkept;
    std::map<std::string, int> m_unkeptAdvances;
};

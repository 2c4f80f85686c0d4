#pragma once

#include "classroom/pupilids.h"
#include "classroom/rostermerge.h"
#include "history/lessonrecord.h"
#include "students/studentstore.h"
#include "students/tstudentlist.h"
#include "widgets/dataproblem.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QObject>
#include <QString>

class HistoryStore;

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
class Classroom : public QObject
{
    Q_OBJECT

public:
    // studentNo: the setting that names the current pupil by position; it
    // follows its pupil when the list changes under it.
    Classroom(QString studentsFile, QString historyFolder, QString computer, int &studentNo, QObject *parent = nullptr);
    ~Classroom() override;

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

private:
    void tell(const DataProblem &problem);
    HistoryStore *ownHistory();
    std::vector<HistoryStore *> allHistories();
    void takeIds(const TStudentList &written, const std::string &bytes, std::set<std::string> removed);
    std::string newId() const;

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
};

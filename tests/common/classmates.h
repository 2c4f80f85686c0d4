#pragma once

// Several computers on one shared data folder, each a classmate process
// (tests/classroom/classmate.cpp) with its own computer name, started
// together; then what they said they did is checked against the folder.

#include "classroom/pupilids.h"
#include "history/historystore.h"
#include "students/tstudentlist.h"

#include <map>
#include <set>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

struct ClassmatesOutcome {
    int pupils = 0; // registered anywhere
    int lessons = 0; // finished anywhere
    int lostPupils = 0; // registered but not in the list, or in it twice
    int lostLessons = 0; // finished but in no history file, or in the wrong one
    int misattributed = 0; // in the history under another pupil
    int wrongNextLesson = 0; // a pupil whose next lesson is not the furthest reached
    std::vector<double> saves; // ms
    QString failure; // a process that did not end well
};

inline ClassmatesOutcome runClassmates(
    const QString &executable, const QString &folder, int computers, int steps, unsigned seed)
{
    ClassmatesOutcome out;
    std::vector<std::unique_ptr<QProcess>> running;
    for (int pc = 0; pc < computers; ++pc) {
        auto process = std::make_unique<QProcess>();
        process->start(executable,
            { folder, QStringLiteral("pc%1").arg(pc), QString::number(seed + unsigned(pc) * 7919U),
                QString::number(steps) });
        running.push_back(std::move(process));
    }
    std::set<std::string> registered;
    std::map<std::string, std::pair<std::string, std::string>> finished; // tag: pupil, computer
    std::map<std::string, int> furthest;
    for (int pc = 0; pc < computers; ++pc) {
        QProcess &process = *running[std::size_t(pc)];
        if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            out.failure
                += QStringLiteral("pc%1: %2\n").arg(pc).arg(QString::fromLocal8Bit(process.readAllStandardError()));
        for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> words = line.split(' ');
            if (words.value(0) == "pupil") {
                registered.insert(words.value(1).toStdString());
            } else if (words.value(0) == "lesson") {
                finished[words.value(2).toStdString()] = { words.value(1).toStdString(), "pc" + std::to_string(pc) };
                int &next = furthest[words.value(1).toStdString()];
                next = std::max(next, words.value(3).toInt());
            } else if (words.value(0) == "save") {
                out.saves.push_back(words.value(1).toDouble());
            }
        }
    }
    out.pupils = int(registered.size());
    out.lessons = int(finished.size());

    QFile listFile(QDir(folder).filePath(QStringLiteral("pisarz.sta")));
    QFile idsFile(listFile.fileName() + QStringLiteral(".ids"));
    listFile.open(QIODevice::ReadOnly);
    idsFile.open(QIODevice::ReadOnly);
    const QByteArray bytes = listFile.readAll();
    const std::string listBytes(bytes.constData(), std::size_t(bytes.size()));
    TStudentList list = TStudentList::parse(listBytes).list;
    const QByteArray idsText = idsFile.readAll();
    assignIds(list, listBytes, PupilIds::parse(std::string(idsText.constData(), std::size_t(idsText.size()))),
        [] { return std::string("unknown"); });
    std::map<std::string, int> inList;
    for (int i = 0; i < list.count(); ++i)
        ++inList[list.at(i).Id];
    for (const std::string &id : registered) {
        if (inList[id] != 1)
            ++out.lostPupils;
    }
    for (int i = 0; i < list.count(); ++i) {
        const auto it = furthest.find(list.at(i).Id);
        if (it != furthest.end() && list.at(i).NextLesson != it->second)
            ++out.wrongNextLesson;
    }

    std::map<std::string, std::vector<std::pair<std::string, std::string>>> stored; // tag: pupil, computer
    for (int pc = 0; pc < computers; ++pc) {
        const QString file = QDir(folder).filePath(QStringLiteral("palcomir-pc%1.db").arg(pc));
        HistoryStore history(file, true);
        for (const std::string &id : registered) {
            for (const LessonRecord &lesson : history.lessons(id))
                stored[lesson.detail].emplace_back(id, "pc" + std::to_string(pc));
        }
    }
    for (const auto &[tag, where] : finished) {
        const auto it = stored.find(tag);
        if (it == stored.end() || it->second.size() != 1 || it->second.front().second != where.second)
            ++out.lostLessons;
        else if (it->second.front().first != where.first)
            ++out.misattributed;
    }
    return out;
}

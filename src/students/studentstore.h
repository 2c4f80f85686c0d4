#pragma once

#include "students/tstudentlist.h"
#include "widgets/dataproblem.h"

#include <QString>

// pisarz.sta on disk. Every save replaces the file atomically, so a crash or
// a full disk leaves the previous list whole. A list that cannot be read
// completely is copied aside before anything may overwrite it; when even
// that fails, or the file cannot be read at all, this run leaves it alone.
class StudentStore
{
public:
    // A list is about 1 KB per student; a file beyond maxSize is not read
    // (nor replaced), so a stray huge file cannot exhaust the memory.
    static constexpr qint64 kMaxSize = qint64(256) * 1024 * 1024;

    explicit StudentStore(QString path, qint64 maxSize = kMaxSize);

    const QString &path() const { return m_path; }

    // Replaces a file whole through QSaveFile, or leaves the old one: false
    // when nothing was written (a full disk is seen before the commit).
    static bool writeWhole(const QString &path, const char *data, qint64 size);

    // The students in the file; a missing or unusable file gives an empty list.
    TStudentList load();

    // False when nothing was written (the write failed, or the file is protected).
    bool save(const TStudentList &list);

    // The bytes the last load read.
    const QByteArray &bytes() const { return m_bytes; }
    // What the last load found.
    TStudentList::ReadOutcome outcome() const { return m_outcome; }
    // Where the damaged file was copied; empty when no copy was needed.
    const QString &damagedCopy() const { return m_damagedCopy; }
    // False while the file on disk holds data that a save would lose.
    bool writable() const { return m_writable; }
    // What the learner should be told after loading; none when all is well.
    const DataProblem &problem() const { return m_problem; }

private:
    bool copyAside(const QByteArray &bytes);

    QString m_path;
    qint64 m_maxSize;
    QByteArray m_bytes;
    TStudentList::ReadOutcome m_outcome = TStudentList::ReadOutcome::Empty;
    QString m_damagedCopy;
    bool m_writable = true;
    DataProblem m_problem;
};

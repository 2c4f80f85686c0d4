#include "students/studentstore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

bool StudentStore::writeWhole(const QString &path, const char *data, qint64 size)
{
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    // QSaveFile buffers the bytes and commits even when writing them out at
    // the end fails (a full disk, a file size limit): the error is seen only
    // by flushing first, and then the old file must stay.
    if (out.write(data, size) != size || !out.flush()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

StudentStore::StudentStore(QString path, qint64 maxSize)
    : m_path(std::move(path))
    , m_maxSize(maxSize)
{ }

TStudentList StudentStore::load()
{
    m_outcome = TStudentList::ReadOutcome::Empty;
    m_damagedCopy.clear();
    m_writable = true;
    m_problem = {};
    m_bytes.clear();

    QFile file(m_path);
    if (!file.exists())
        return {};
    QByteArray bytes;
    // Only a regular file is read: opening a named pipe would wait for a
    // writer for ever, and a device never ends.
    if (QFileInfo(m_path).isFile() && file.open(QIODevice::ReadOnly) && file.size() <= m_maxSize)
        bytes = file.read(m_maxSize + 1);
    if (!file.isOpen() || file.error() != QFileDevice::NoError || bytes.size() > m_maxSize || file.size() > m_maxSize) {
        m_writable = false;
        m_problem = { DataProblem::Code::ListUnreadable, m_path };
        return {};
    }

    m_bytes = bytes;
    TStudentList::ReadResult read = TStudentList::parse(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    m_outcome = read.outcome;
    if (!read.damaged())
        return std::move(read.list);

    if (copyAside(bytes)) {
        m_problem = { DataProblem::Code::ListDamagedCopied, m_path, m_damagedCopy, read.list.count() };
    } else {
        m_writable = false;
        m_problem = { DataProblem::Code::ListDamagedKept, m_path, {}, read.list.count() };
    }
    return std::move(read.list);
}

// pisarz.sta.bad, unless an earlier, different damaged file is kept there;
// then a name that says when this copy was made. A file copied before (it
// could not be replaced since) is not copied again.
bool StudentStore::copyAside(const QByteArray &bytes)
{
    const QFileInfo list(m_path);
    const QString first = m_path + QStringLiteral(".bad");
    const QString copyPrefix = list.fileName() + QStringLiteral(".bad");
    for (const QFileInfo &copy : list.dir().entryInfoList(QDir::Files | QDir::Hidden)) {
        if (copy.fileName().startsWith(copyPrefix) && copy.size() == bytes.size()
            && contentsOf(copy.filePath()) == bytes) {
            m_damagedCopy = copy.filePath();
            return true;
        }
    }

    QString target = first;
    if (QFile::exists(first)) {
        const QString stamped = first + QDateTime::currentDateTime().toString(QStringLiteral("-yyyyMMdd-HHmmss"));
        target = stamped;
        for (int n = 2; QFile::exists(target); ++n) {
            if (n > 1000)
                return false;
            target = stamped + QStringLiteral("-%1").arg(n);
        }
    }
    if (!writeWhole(target, bytes.constData(), bytes.size()))
        return false;
    m_damagedCopy = target;
    return true;
}

bool StudentStore::save(const TStudentList &list)
{
    if (!m_writable)
        return false;
    const std::string bytes = list.serialize();
    return writeWhole(m_path, bytes.data(), static_cast<qint64>(bytes.size()));
}

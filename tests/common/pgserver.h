#pragma once

// A PostgreSQL of the test's own: a new cluster in a temporary folder,
// listening only on a socket there, with the class server's schema and
// passwords for its two roles. As root (CI) the server runs as nobody, since
// PostgreSQL refuses root. failure says why it could not start; a test that
// needs the server fails with it.

#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

class PgServer
{
public:
    static constexpr const char *kPcPassword = "haslo-pc";
    static constexpr const char *kTeacherPassword = "haslo-nauczyciela";

    PgServer()
        : m_dir(QDir::tempPath() + QStringLiteral("/palcomir-pg-XXXXXX"))
        , m_port(20000 + int(QRandomGenerator::global()->bounded(30000)))
    {
        const QStringList found = binaries();
        if (found.isEmpty()) {
            failure = QStringLiteral("no PostgreSQL server: install Debian's postgresql (make test does)");
            return;
        }
        m_bin = found.last();
        // The server must own its folder; as root it runs as nobody.
        if (::geteuid() == 0 && ::chown(QFile::encodeName(m_dir.path()).constData(), 65534, 65534) != 0) {
            failure = QStringLiteral("cannot give %1 to nobody").arg(m_dir.path());
            return;
        }
        QFile pw(m_dir.filePath(QStringLiteral("pw")));
        pw.open(QIODevice::WriteOnly);
        pw.write("postgres-haslo\n");
        pw.close();
        pw.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadOther | QFileDevice::WriteOwner);
        if (!runServerTool(QStringLiteral("initdb"),
                { QStringLiteral("-D"), dataDir(), QStringLiteral("-U"), QStringLiteral("postgres"),
                    QStringLiteral("--auth=scram-sha-256"), QStringLiteral("--pwfile=") + pw.fileName(),
                    QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8") })
            || !start())
            return;
        watchOverTheTest();
        const QString schema = QStringLiteral(PALCOMIR_SCHEMA);
        if (!psql(QStringLiteral("CREATE DATABASE palcomir"), QStringLiteral("postgres"), QStringLiteral("postgres"))
            || !psqlFile(schema) || !psqlFile(schema) // run twice: it must be safe to run again
            || !psql(
                QStringLiteral("ALTER ROLE palcomir_pc PASSWORD '%1'; ALTER ROLE palcomir_nauczyciel PASSWORD '%2'")
                    .arg(QLatin1String(kPcPassword), QLatin1String(kTeacherPassword))))
            return;
    }

    ~PgServer()
    {
        if (m_running)
            stop();
    }

    bool ok() const { return failure.isEmpty(); }
    bool running() const { return m_running; }

    QString connection(const QString &user = QStringLiteral("palcomir_pc"), const QString &password = kPcPassword) const
    {
        return QStringLiteral("host=%1 port=%2 dbname=palcomir user=%3 password=%4")
            .arg(m_dir.path())
            .arg(m_port)
            .arg(user, password);
    }

    bool stop()
    {
        m_running = !runServerTool(QStringLiteral("pg_ctl"),
            { QStringLiteral("-D"), dataDir(), QStringLiteral("-m"), QStringLiteral("fast"), QStringLiteral("-w"),
                QStringLiteral("stop") });
        return !m_running;
    }

    bool start()
    {
        m_running = runServerTool(QStringLiteral("pg_ctl"),
            { QStringLiteral("-D"), dataDir(), QStringLiteral("-l"), m_dir.filePath(QStringLiteral("log")),
                QStringLiteral("-w"), QStringLiteral("-o"),
                QStringLiteral("-k %1 -c listen_addresses='' -p %2 -F -c max_connections=100")
                    .arg(m_dir.path())
                    .arg(m_port),
                QStringLiteral("start") });
        return m_running;
    }

    // Runs SQL through psql as user; output holds what it printed.
    bool psql(const QString &sql, const QString &user = QStringLiteral("postgres"),
        const QString &database = QStringLiteral("palcomir"), const QString &password = {})
    {
        return runPsql(user, password, { QStringLiteral("-d"), database, QStringLiteral("-c"), sql });
    }

    QString output;
    QString failure;

private:
    static QStringList binaries()
    {
        QStringList found;
        QDirIterator it(QStringLiteral("/usr/lib/postgresql"), { QStringLiteral("initdb") }, QDir::Files,
            QDirIterator::Subdirectories);
        while (it.hasNext())
            found << QFileInfo(it.next()).absolutePath();
        std::sort(found.begin(), found.end(), [](const QString &a, const QString &b) {
            return a.section(u'/', -2, -2).toInt() < b.section(u'/', -2, -2).toInt();
        });
        return found;
    }

    QString dataDir() const { return m_dir.filePath(QStringLiteral("data")); }

    // A test that crashes runs no destructor: a watcher stops its server and
    // removes its folder once the test's process is gone.
    void watchOverTheTest() const
    {
        const QString asServer
            = ::geteuid() == 0 ? QStringLiteral("setpriv --reuid=65534 --regid=65534 --clear-groups ") : QString();
        QProcess::startDetached(QStringLiteral("sh"),
            { QStringLiteral("-c"),
                QStringLiteral("while kill -0 %1 2>/dev/null; do sleep 1; done; %2%3/pg_ctl -D %4 -m immediate stop;"
                               " rm -rf %5")
                    .arg(QCoreApplication::applicationPid())
                    .arg(asServer, m_bin, dataDir(), m_dir.path()) });
    }

    bool psqlFile(const QString &file)
    {
        return runPsql(QStringLiteral("postgres"), {},
            { QStringLiteral("-d"), QStringLiteral("palcomir"), QStringLiteral("-f"), file });
    }

    bool runPsql(const QString &user, const QString &password, const QStringList &args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PGPASSWORD"),
            password.isEmpty() && user == QLatin1String("postgres") ? QStringLiteral("postgres-haslo") : password);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("%1/psql").arg(m_bin),
            QStringList { QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"), m_dir.path(), QStringLiteral("-p"),
                QString::number(m_port), QStringLiteral("-U"), user }
                + args);
        const bool ended = p.waitForFinished(120000);
        output = QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
        if (ended && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return true;
        if (failure.isEmpty() && !m_quiet)
            failure = QStringLiteral("psql %1: %2").arg(args.join(u' '), output);
        return false;
    }

    bool runServerTool(const QString &tool, const QStringList &args)
    {
        QProcess p;
        QStringList command { QStringLiteral("%1/%2").arg(m_bin, tool) };
        if (::geteuid() == 0)
            command = QStringList { QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"),
                QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups") }
                + command;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(command.takeFirst(), command + args);
        const bool ended = p.waitForFinished(120000);
        if (ended && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return true;
        if (failure.isEmpty())
            failure = QStringLiteral("%1 failed: %2").arg(tool, QString::fromLocal8Bit(p.readAll()));
        return false;
    }

    QTemporaryDir m_dir;
    int m_port;
    QString m_bin;
    bool m_running = false;
    bool m_quiet = false;

public:
    // psql whose failure is the point (a refused statement): no failure noted.
    bool psqlRefused(const QString &sql, const QString &user, const QString &password)
    {
        m_quiet = true;
        const bool ran = psql(sql, user, QStringLiteral("palcomir"), password);
        m_quiet = false;
        return !ran;
    }
};

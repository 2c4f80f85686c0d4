#include "app/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>
#include <QtTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
QString uniqueKey()
{
    return QStringLiteral("palcomir-test-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

// Leaves a socket file behind the way a crashed run does: bound, never unlinked.
bool leaveStaleSocket(const QString &key)
{
    const QByteArray path = QDir(QDir::tempPath()).filePath(key).toLocal8Bit();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}
} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void secondStartActivatesTheFirst()
    {
        const QString key = uniqueKey();
        // The running program answers from its own event loop, here another thread.
        QThread running;
        auto *first = new SingleInstance(key);
        first->moveToThread(&running);
        running.start();
        bool listening = false;
        QMetaObject::invokeMethod(
            first, [&] { listening = first->listen(); }, Qt::BlockingQueuedConnection);
        QVERIFY(listening);
        QSignalSpy activated(first, &SingleInstance::activationRequested);

        SingleInstance second(key);
        QVERIFY(second.askRunningToActivate());
        QTRY_COMPARE(activated.count(), 1);

        QMetaObject::invokeMethod(
            first, [first] { delete first; }, Qt::BlockingQueuedConnection);
        running.quit();
        running.wait();
    }

    void nobodyRunning()
    {
        SingleInstance alone(uniqueKey());
        QVERIFY(!alone.askRunningToActivate());
        QVERIFY(alone.listen());
    }

    void staleSocketDoesNotBlockTheNextStart()
    {
        const QString key = uniqueKey();
        QVERIFY(leaveStaleSocket(key));
        SingleInstance next(key);
        QVERIFY2(!next.askRunningToActivate(), "a dead program cannot be activated");
        QVERIFY(next.listen());
    }

    // One folder has one key however it is reached; two folders have two.
    void keysSeparateDataFolders()
    {
        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkdir(QStringLiteral("a")) && dir.mkdir(QStringLiteral("b")));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("a")), dir.filePath(QStringLiteral("link"))));
        const QString a = SingleInstance::keyFor(dir.filePath(QStringLiteral("a")));
        QCOMPARE(SingleInstance::keyFor(dir.filePath(QStringLiteral("link"))), a);
        QCOMPARE(SingleInstance::keyFor(dir.filePath(QStringLiteral("b/../a/"))), a);
        QVERIFY(SingleInstance::keyFor(dir.filePath(QStringLiteral("b"))) != a);
        QVERIFY(SingleInstance::keyFor(dir.filePath(QStringLiteral("not-yet"))) != a);
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"

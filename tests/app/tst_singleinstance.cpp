#include "app/singleinstance.h"

#include <memory>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>
#include <QtTest>

namespace {
QString uniqueKey()
{
    return QStringLiteral("palcomir-test-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
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

    // A run that ended, however it ended, leaves its name free.
    void endedRunDoesNotBlockTheNextStart()
    {
        const QString key = uniqueKey();
        auto ended = std::make_unique<SingleInstance>(key);
        QVERIFY(ended->listen());
        SingleInstance taken(key);
        QVERIFY2(!taken.listen(), "two programs must not hold one name");
        ended.reset();
        SingleInstance next(key);
        QVERIFY2(!next.askRunningToActivate(), "an ended program cannot be activated");
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

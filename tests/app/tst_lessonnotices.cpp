#include "app/lessonnotices.h"

#include <QtTest>

using namespace lessonnotices;

Q_DECLARE_METATYPE(std::optional<bool>)

namespace {
const std::optional<bool> kUnknown;
const std::optional<bool> kOn(true);
const std::optional<bool> kOff(false);
} // namespace

class TestLessonNotices : public QObject
{
    Q_OBJECT

private slots:
    void capsLockFromTheLetters_data()
    {
        QTest::addColumn<uint>("typed");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<std::optional<bool>>("caps");
        QTest::newRow("a") << uint(U'a') << false << kOff;
        QTest::newRow("A without Shift") << uint(U'A') << false << kOn;
        QTest::newRow("A with Shift") << uint(U'A') << true << kOff;
        QTest::newRow("a with Shift") << uint(U'a') << true << kOn;
        QTest::newRow("Ż without Shift") << uint(U'Ż') << false << kOn;
        QTest::newRow("ł") << uint(U'ł') << false << kOff;
        QTest::newRow("ś with Shift") << uint(U'ś') << true << kOn;
        QTest::newRow("a digit tells nothing") << uint(U'7') << false << kUnknown;
        QTest::newRow("a shifted sign tells nothing") << uint(U'!') << true << kUnknown;
        QTest::newRow("no text tells nothing") << 0u << false << kUnknown;
    }

    void capsLockFromTheLetters()
    {
        QFETCH(uint, typed);
        QFETCH(bool, shift);
        QFETCH(std::optional<bool>, caps);
        QCOMPARE(capsLockFrom(char32_t(typed), shift), caps);
    }

    void numLockFromTheKeypad_data()
    {
        QTest::addColumn<uint>("typed");
        QTest::addColumn<bool>("cursorKey");
        QTest::addColumn<std::optional<bool>>("num");
        QTest::newRow("a digit") << uint(U'5') << false << kOn;
        QTest::newRow("Home instead of 7") << 0u << true << kOff;
        QTest::newRow("plus works either way") << uint(U'+') << false << kUnknown;
    }

    void numLockFromTheKeypad()
    {
        QFETCH(uint, typed);
        QFETCH(bool, cursorKey);
        QFETCH(std::optional<bool>, num);
        QCOMPARE(numLockFrom(char32_t(typed), cursorKey), num);
    }

    void notices_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("paused");
        QTest::addColumn<bool>("keypad");
        QTest::addColumn<std::optional<bool>>("caps");
        QTest::addColumn<std::optional<bool>>("num");
        QTest::addColumn<QString>("text");
        QTest::newRow("typing") << true << false << false << kOff << kOff << QString();
        QTest::newRow("no lesson, Caps Lock on") << false << false << false << kOn << kOff << QString();
        QTest::newRow("Caps Lock on") << true << false << false << kOn << kOn << QStringLiteral("Włączony Caps Lock");
        QTest::newRow("paused") << true << true << false << kUnknown << kUnknown << QStringLiteral("Pauza");
        QTest::newRow("paused with Caps Lock")
            << true << true << false << kOn << kUnknown << QStringLiteral("Pauza, Włączony Caps Lock");
        QTest::newRow("keypad drill without Num Lock")
            << true << false << true << kOff << kOff << QStringLiteral("Włącz Num Lock");
        QTest::newRow("keypad drill, Num Lock not known") << true << false << true << kOff << kUnknown << QString();
        QTest::newRow("another lesson without Num Lock") << true << false << false << kOff << kOff << QString();
    }

    void notices()
    {
        QFETCH(bool, running);
        QFETCH(bool, paused);
        QFETCH(bool, keypad);
        QFETCH(std::optional<bool>, caps);
        QFETCH(std::optional<bool>, num);
        QFETCH(QString, text);
        const LessonState state { running, paused, keypad, caps, num };
        QCOMPARE(QString::fromStdString(noticeText(state)), text);
    }
};

QTEST_APPLESS_MAIN(TestLessonNotices)
#include "tst_lessonnotices.moc"

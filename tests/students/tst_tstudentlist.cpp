#include "common/testsupport.h"
#include "students/tstudentlist.h"

#include <cmath>
#include <cstring>

// Golden files are spelled out byte by byte here, independently of the
// writer, in the three layouts the reader accepts.
namespace {

using Bytes = std::string;

Bytes le(std::uint32_t value, int size)
{
    Bytes out;
    for (int i = 0; i < size; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

const Bytes kHeaderText("Stukomat 1.0 - StudentList\x0A\x1A", 28);

// 904 bytes of results: slot 0 is 120.0 / 91.666664, slot 112 is 250.5 / 100.0.
Bytes results()
{
    Bytes block(904, '\0');
    block.replace(0, 8, Bytes("\x00\x00\xF0\x42\x55\x55\xB7\x42", 8));
    block.replace(896, 8, Bytes("\x00\x80\x7A\x43\x00\x00\xC8\x42", 8));
    return block;
}

struct Sample {
    std::string name;
    int age;
    int male;
    int nextLesson;
};

// Two students: "Żaneta" (woman, next lesson 1205) and "Jan" (man, age 9).
const std::vector<Sample> kSamples = { { W("Żaneta"), 0, 0, 1205 }, { "Jan", 9, 1, 1201 } };

enum class Layout { V257, V256, V0 };

struct Golden {
    Bytes file;
    std::vector<std::size_t> recordEnds; // offset just past each student record
};

Golden golden(Layout layout, const std::vector<Sample> &students)
{
    const int intSize = layout == Layout::V0 ? 2 : 4;
    const int lengthSize = layout == Layout::V257 ? 4 : 1;
    Golden g;
    if (layout == Layout::V257)
        g.file += Bytes(":\x01\x01\x00\x00", 5);
    else if (layout == Layout::V256)
        g.file += Bytes(":\x00\x01\x00\x00", 5);
    g.file += le(28, lengthSize) + kHeaderText;
    g.file += le(std::uint32_t(students.size()), intSize);
    for (const Sample &s : students) {
        g.file += le(std::uint32_t(s.name.size()), lengthSize) + s.name;
        g.file += le(std::uint32_t(s.age), intSize) + le(std::uint32_t(s.male), intSize);
        g.file += le(std::uint32_t(s.nextLesson), intSize) + results();
        g.recordEnds.push_back(g.file.size());
    }
    g.file += le(std::uint32_t(students.size()), intSize);
    g.file += le(28, lengthSize) + kHeaderText;
    return g;
}

TStudentList listOf(const std::vector<Sample> &students)
{
    TStudentList list;
    for (const Sample &s : students) {
        TStudent student(s.name, s.age, s.male);
        student.NextLesson = s.nextLesson;
        student.CharStats[0] = { 120.0F, float(1100.0 / 12.0) };
        student.CharStats[112] = { 250.5F, 100.0F };
        list.add(student);
    }
    return list;
}

QByteArray q(const Bytes &b)
{
    return bytes(b);
}

using Outcome = TStudentList::ReadOutcome;

} // namespace

Q_DECLARE_METATYPE(Layout)
Q_DECLARE_METATYPE(TStudentList::ReadOutcome)

class TestStudentList : public QObject
{
    Q_OBJECT

private slots:
    void emptyListIs77Bytes()
    {
        const Bytes written = TStudentList().serialize();
        QCOMPARE(written.size(), std::size_t(77));
        QCOMPARE(q(written),
            q(Bytes(":\x01\x01\x00\x00\x1C\x00\x00\x00", 9) + kHeaderText + Bytes(4, '\0') + Bytes(4, '\0')
                + Bytes("\x1C\x00\x00\x00", 4) + kHeaderText));
        const auto read = TStudentList::parse(written);
        QCOMPARE(read.outcome, Outcome::Complete);
        QCOMPARE(read.list.count(), 0);
    }

    void writesVersion257ByteForByte()
    {
        const Golden expected = golden(Layout::V257, kSamples);
        QCOMPARE(expected.recordEnds[0] - 41, std::size_t(920 + 6)); // 920 + the name's length
        QCOMPARE(q(listOf(kSamples).serialize()), q(expected.file));
    }

    void readsEveryLayout_data()
    {
        QTest::addColumn<Layout>("layout");
        QTest::newRow("version 257") << Layout::V257;
        QTest::newRow("version 256, one-byte string lengths") << Layout::V256;
        QTest::newRow("version 0, 16-bit integers") << Layout::V0;
    }

    void readsEveryLayout()
    {
        QFETCH(Layout, layout);
        const auto read = TStudentList::parse(golden(layout, kSamples).file);
        QCOMPARE(read.outcome, Outcome::Complete);
        QVERIFY(!read.damaged());
        QCOMPARE(read.list.count(), 2);
        const TStudent &zaneta = read.list.at(0);
        QCOMPARE(q(zaneta.Name), q(W("Żaneta")));
        QCOMPARE(zaneta.Male, 0);
        QCOMPARE(zaneta.NextLesson, 1205);
        QCOMPARE(zaneta.CharStats[0].Speed, 120.0F);
        QCOMPARE(zaneta.CharStats[0].Accuracy, float(1100.0 / 12.0));
        QCOMPARE(zaneta.CharStats[112].Speed, 250.5F);
        QCOMPARE(zaneta.CharStats[112].Accuracy, 100.0F);
        QCOMPARE(zaneta.CharStats[1].Speed, 0.0F);
        const TStudent &jan = read.list.at(1);
        QCOMPARE(q(jan.Name), QByteArray("Jan"));
        QCOMPARE(jan.Age, 9);
        QCOMPARE(jan.Male, 1);
        // whatever was read, it is written back in the current layout
        QCOMPARE(q(read.list.serialize()), q(golden(Layout::V257, kSamples).file));
    }

    void absentNameReadsAsEmpty_data()
    {
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<QByteArray>("absent");
        QTest::newRow("version 257") << Layout::V257 << QByteArray("\xFF\xFF\xFF\xFF");
        QTest::newRow("version 256") << Layout::V256 << QByteArray("\xFF");
        QTest::newRow("version 0") << Layout::V0 << QByteArray("\xFF");
    }

    void absentNameReadsAsEmpty()
    {
        QFETCH(Layout, layout);
        QFETCH(QByteArray, absent);
        Golden g = golden(layout, { { "", 0, 1, 1201 } });
        const std::size_t at = layout == Layout::V257 ? 41 : layout == Layout::V256 ? 38 : 31;
        const std::size_t lengthSize = layout == Layout::V257 ? 4 : 1;
        QCOMPARE(q(g.file.substr(at, lengthSize)), QByteArray(lengthSize, '\0'));
        g.file.replace(at, lengthSize, absent.toStdString());
        const auto read = TStudentList::parse(g.file);
        QCOMPARE(read.outcome, Outcome::Complete);
        QCOMPARE(read.list.count(), 1);
        QVERIFY(read.list.at(0).Name.empty());
    }

    void roundTrip()
    {
        TStudentList list;
        list.add(TStudent("", 0, 1));
        list.add(TStudent(W("Łucja Żółć-Śmigły"), 0, 0));
        list.add(TStudent(W("Łucja Żółć-Śmigły"), 0, 0)); // the same name twice, both kept
        TStudent odd(std::string(300, 'x') + std::string("\0\xFF\x1A", 3), -7, 1);
        odd.NextLesson = 1247;
        for (int i = 0; i < kStatCharCount; ++i)
            odd.CharStats[i] = { float(i) * 1.5F, 100.0F - float(i) / 3.0F };
        odd.CharStats[40].Speed = -0.0F;
        list.add(odd);
        const Bytes first = list.serialize();
        const auto read = TStudentList::parse(first);
        QCOMPARE(read.outcome, Outcome::Complete);
        QCOMPARE(read.list.count(), 4);
        QCOMPARE(q(read.list.at(3).Name), q(odd.Name));
        QCOMPARE(read.list.at(3).Age, -7);
        QCOMPARE(q(read.list.serialize()), q(first));
        QVERIFY(std::signbit(read.list.at(3).CharStats[40].Speed));
    }

    // Every prefix of a good file: the students complete in it are kept,
    // the file counts as damaged, and nothing crashes.
    void cutAtEveryOffset_data()
    {
        QTest::addColumn<Layout>("layout");
        QTest::newRow("version 257") << Layout::V257;
        QTest::newRow("version 256") << Layout::V256;
        QTest::newRow("version 0") << Layout::V0;
    }

    void cutAtEveryOffset()
    {
        QFETCH(Layout, layout);
        std::vector<Sample> five;
        for (int i = 0; i < 5; ++i)
            five.push_back({ "Uczen " + std::to_string(i), 0, i % 2, 1201 + i });
        const Golden g = golden(layout, five);
        for (std::size_t size = 0; size < g.file.size(); ++size) {
            const auto read = TStudentList::parse(std::string_view(g.file).substr(0, size));
            int complete = 0;
            while (complete < 5 && g.recordEnds[complete] <= size)
                ++complete;
            const QByteArray where = QByteArray::number(qulonglong(size));
            QVERIFY2(read.outcome == (size == 0 ? Outcome::Empty : Outcome::Truncated), where);
            QVERIFY2(read.damaged() == (size != 0), where);
            QVERIFY2(read.list.count() == complete, where);
            for (int i = 0; i < complete; ++i)
                QVERIFY2(read.list.at(i).NextLesson == 1201 + i, where);
        }
        // a file cut inside the fifth record gives the first four
        const std::size_t insideFifth = g.recordEnds[3] + 10;
        QCOMPARE(TStudentList::parse(std::string_view(g.file).substr(0, insideFifth)).list.count(), 4);
    }

    void damagedFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<int>("students");

        const Golden g = golden(Layout::V257, kSamples);
        const std::size_t trailer = g.recordEnds.back();
        auto patched = [&g](std::size_t at, const Bytes &with) {
            Bytes copy = g.file;
            copy.replace(at, with.size(), with);
            return q(copy);
        };
        QTest::newRow("trailer count one more") << patched(trailer, le(3, 4)) << Outcome::TrailerMismatch << 0;
        QTest::newRow("trailer count one less") << patched(trailer, le(1, 4)) << Outcome::TrailerMismatch << 0;
        QTest::newRow("other trailer text") << patched(trailer + 8, "Stukomat 1.1") << Outcome::TrailerMismatch << 0;
        QTest::newRow("shorter trailer text")
            << q(g.file.substr(0, trailer + 4) + le(5, 4) + "Stuko") << Outcome::TrailerMismatch << 0;
        QTest::newRow("trailer text too long to read keeps the students")
            << q(g.file.substr(0, trailer + 4) + le(60, 4) + Bytes(60, 'x')) << Outcome::Truncated << 2;
        QTest::newRow("bytes after the trailer are ignored") << q(g.file + "junk") << Outcome::Complete << 2;
        QTest::newRow("other version in the header text") << patched(9 + 9, "2") << Outcome::WrongHeader << 0;
        QTest::newRow("other product word") << patched(9, "Pisarz  ") << Outcome::WrongHeader << 0;
        QTest::newRow("header without its last byte") << q(Bytes(":\x01\x01\x00\x00", 5) + le(27, 4)
            + kHeaderText.substr(0, 27) + le(0, 4) + le(27, 4) + kHeaderText.substr(0, 27))
                                                      << Outcome::WrongHeader << 0;
        QTest::newRow("absent header") << q(Bytes(":\x01\x01\x00\x00\xFF\xFF\xFF\xFF", 9) + le(0, 4))
                                       << Outcome::WrongHeader << 0;
        QTest::newRow("header length too large") << patched(5, le(0x7FFFFFF0, 4)) << Outcome::WrongHeader << 0;
        QTest::newRow("a text file") << QByteArray("Jan Kowalski\nAnna Nowak\n") << Outcome::WrongHeader << 0;
        QTest::newRow("a single zero byte") << QByteArray(1, '\0') << Outcome::WrongHeader << 0;
        QTest::newRow("absurd name length in the second record")
            << patched(g.recordEnds[0], le(0x7FFFFFFF, 4)) << Outcome::Truncated << 1;
        QTest::newRow("absurd name length in a 1 KB file")
            << q(g.file.substr(0, 41) + le(0xFFFFFFF0, 4) + Bytes(1000, 'a')) << Outcome::Truncated << 0;
        QTest::newRow("absurd count") << q(
            g.file.substr(0, 37) + le(0xFFFFFFFE, 4) + g.file.substr(41, g.recordEnds[0] - 41))
                                      << Outcome::Truncated << 1;
        QTest::newRow("absurd count, version 0")
            << q(golden(Layout::V0, {}).file.substr(0, 29) + le(0xFFFF, 2)) << Outcome::Truncated << 0;
    }

    void damagedFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(Outcome, outcome);
        QFETCH(int, students);
        const auto read = TStudentList::parse(file.toStdString());
        QCOMPARE(read.outcome, outcome);
        QCOMPARE(read.list.count(), students);
        QCOMPARE(read.damaged(), outcome != Outcome::Complete);
    }

    void addAndRemove()
    {
        TStudentList list = listOf({ { "A", 0, 1, 1201 }, { "B", 0, 1, 1201 }, { "C", 0, 1, 1201 } });
        TStudent *c = &list.at(2);
        for (int i = 0; i < 100; ++i)
            list.add(TStudent("x", 0, 1));
        list.remove(0);
        // a lesson may hold on to its student while the list changes
        QCOMPARE(&list.at(1), c);
        QCOMPARE(q(list.at(0).Name), QByteArray("B"));
        QCOMPARE(list.count(), 102);
        list.at(0).NextLesson = 1300;
        QCOMPARE(TStudentList::parse(list.serialize()).list.at(0).NextLesson, 1300);
    }

    void validStudentNo_data()
    {
        QTest::addColumn<int>("studentNo");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("expected");
        QTest::newRow("3 of 3 students") << 3 << 3 << -1;
        QTest::newRow("7 of 3 students") << 7 << 3 << -1;
        QTest::newRow("-5 of 3 students") << -5 << 3 << -1;
        QTest::newRow("2 of 3 students") << 2 << 3 << 2;
        QTest::newRow("0 of 3 students") << 0 << 3 << 0;
        QTest::newRow("-1 stays") << -1 << 3 << -1;
        QTest::newRow("0 of no students") << 0 << 0 << -1;
        QTest::newRow("smallest int") << INT_MIN << 3 << -1;
    }

    void validStudentNo()
    {
        QFETCH(int, studentNo);
        QFETCH(int, count);
        QFETCH(int, expected);
        QCOMPARE(::validStudentNo(studentNo, count), expected);
    }

    void studentNoAfterRemoval_data()
    {
        QTest::addColumn<int>("studentNo");
        QTest::addColumn<int>("removed");
        QTest::addColumn<int>("expected");
        QTest::newRow("the current student removed") << 2 << 2 << -1;
        QTest::newRow("a student before it removed") << 2 << 0 << 1;
        QTest::newRow("a student after it removed") << 1 << 2 << 1;
        QTest::newRow("nobody current") << -1 << 0 << -1;
    }

    void studentNoAfterRemoval()
    {
        QFETCH(int, studentNo);
        QFETCH(int, removed);
        QFETCH(int, expected);
        QCOMPARE(::studentNoAfterRemoval(studentNo, removed), expected);
    }
};

QTEST_APPLESS_MAIN(TestStudentList)
#include "tst_tstudentlist.moc"

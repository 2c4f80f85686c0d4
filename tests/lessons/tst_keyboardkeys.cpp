#include "common/testsupport.h"
#include "lessons/keyboardkeys.h"
#include "lessons/typingengine.h"

#include <cmath>

namespace {

// The marked areas as "left,top,width,height" in marking order.
QStringList areasOf(const MarkedKeys &marked)
{
    QStringList out;
    for (int i = 0; i < marked.count; ++i) {
        const KeyArea &a = marked.areas[std::size_t(i)];
        out << QStringLiteral("%1,%2,%3,%4").arg(a.left).arg(a.top).arg(a.width).arg(a.height);
    }
    return out;
}

const QString kRightShift = QStringLiteral("331,129,71,26");
const QString kLeftShift = QStringLiteral("12,129,59,26");
const QString kRightAlt = QStringLiteral("297,155,40,26");

} // namespace

class TestKeyboardKeys : public QObject
{
    Q_OBJECT

private slots:
    void marksTheKeyAndWhatToHold_data()
    {
        QTest::addColumn<QByteArray>("next");
        QTest::addColumn<QStringList>("areas");
        const QString a = QStringLiteral("57,103,26,26");
        QTest::newRow("a: the A key alone") << QByteArray("a") << QStringList { a };
        QTest::newRow("A: and the right Shift") << QByteArray("A") << QStringList { a, kRightShift };
        QTest::newRow("H: and the left Shift") << QByteArray("H") << QStringList { "187,103,26,26", kLeftShift };
        QTest::newRow("ą: the A key and the right Alt") << bytes(W("ą")) << QStringList { a, kRightAlt };
        QTest::newRow("Ł: the L key, the left Shift and the right Alt")
            << bytes(W("Ł")) << QStringList { "265,103,26,26", kLeftShift, kRightAlt };
        QTest::newRow("Ż: the Z key, the right Shift and the right Alt")
            << bytes(W("Ż")) << QStringList { "71,129,26,26", kRightShift, kRightAlt };
        QTest::newRow("ź is on the X key") << bytes(W("ź")) << QStringList { "97,129,26,26", kRightAlt };
        QTest::newRow("a line end: both parts of Enter")
            << QByteArray("\r") << QStringList { "343,103,59,26", "364,77,38,26" };
        QTest::newRow("space") << QByteArray(" ") << QStringList { "118,155,179,26" };
        QTest::newRow("grave on the left of 1") << QByteArray("~") << QStringList { "14,51,26,26", kLeftShift };
        QTest::newRow("a tab has no key") << QByteArray("\t") << QStringList {};
        QTest::newRow("the end of the text marks nothing") << QByteArray(1, '\0') << QStringList {};
    }

    void marksTheKeyAndWhatToHold()
    {
        QFETCH(QByteArray, next);
        QFETCH(QStringList, areas);
        QCOMPARE(areasOf(markedMainKeys(static_cast<unsigned char>(next[0]), TypingEngine::plainSameKey)), areas);
    }

    // Every character a lesson counts has a key, apart from those the
    // keyboard has no key for in its main block.
    void everyLetterHasAKey()
    {
        for (const unsigned char c :
            bytes(W("aąbcćdeęfghijklłmnńoópqrsśtuvwxyzźżAĄBCĆDEĘFGHIJKLŁMNŃOÓPQRSŚTUVWXYZŹŻ0123456789")))
            QVERIFY2(markedMainKeys(c, TypingEngine::plainSameKey).count > 0, qPrintable(QString(QChar(c))));
    }

    // The key table scaled for a larger keyboard picture: keys that touch
    // still touch, keys apart stay apart and only keys that overlap overlap;
    // a whole factor scales every edge exactly.
    void scaledAreasKeepTheirNeighbours_data()
    {
        QTest::addColumn<double>("factor");
        for (const double factor : { 1.25, 1.5, 1.75, 2.0, 3.0 })
            QTest::addRow("%g", factor) << factor;
    }

    void scaledAreasKeepTheirNeighbours()
    {
        QFETCH(double, factor);
        std::vector<KeyArea> areas;
        for (const TKP &key : MainKeys)
            areas.insert(areas.end(), key.area.begin(), key.area.begin() + key.areaCount);
        for (const KeypadKey &key : KeypadKeys)
            areas.push_back(key.area);
        auto rect = [](const KeyArea &a) { return QRect(a.left, a.top, a.width, a.height); };
        for (const KeyArea &a : areas) {
            const KeyArea sa = scaledKeyArea(a, factor);
            if (factor == std::floor(factor)) {
                const int k = int(factor);
                QCOMPARE(sa, (KeyArea { k * a.left, k * a.top, k * a.width, k * a.height }));
            }
            for (const KeyArea &b : areas) {
                const KeyArea sb = scaledKeyArea(b, factor);
                QCOMPARE(sa.left + sa.width == sb.left, a.left + a.width == b.left);
                QCOMPARE(sa.top + sa.height == sb.top, a.top + a.height == b.top);
                QCOMPARE(rect(sa).intersects(rect(sb)), rect(a).intersects(rect(b)));
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestKeyboardKeys)
#include "tst_keyboardkeys.moc"

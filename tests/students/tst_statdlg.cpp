#include "common/dialogtesting.h"
#include "common/testsupport.h"
#include "students/tstatdlg.h"
#include "students/tstudent.h"
#include "widgets/help.h"

#include <limits>

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QWindow>

namespace {

void measure(TStudent &student, const char *utf8, float speed, float accuracy)
{
    student.CharStats[statCharSlot(static_cast<unsigned char>(W(utf8).at(0)))] = { speed, accuracy };
}

// What the window shows now, as the platform last got it painted.
QImage onScreen(QWidget &window)
{
    return window.windowHandle()->screen()->grabWindow(window.winId()).toImage();
}

const QColor kBlue(0, 0, 192);
const QColor kRed(192, 0, 0);
const QColor kGreen(0, 144, 0);
const QColor kAmber(224, 150, 0);

struct RowCells {
    int mid; // a line through the middle of the row
    int valueLeft;
    int valueRight;
    int barLeft;
    int barArea;
};

// The cells of a row, measured from where the list put it.
RowCells cellsOf(const QRect &row)
{
    const int left = row.left() + 1;
    const int w = row.width() - 2;
    const int q = w / 4;
    return { row.center().y(), left + (2 * q) / 5, left + q - 2, left + q, w - q };
}

bool inks(const QColor &pixel, const QColor &colour)
{
    // Anti-aliased text blends with the background; only its hue is sure.
    if (pixel.hsvSaturation() < 120)
        return false;
    const int apart = std::abs(pixel.hsvHue() - colour.hsvHue());
    return std::min(apart, 360 - apart) < 15;
}

bool valueInks(const QImage &image, const RowCells &cells, int top, int bottom, const QColor &colour)
{
    for (int y = top; y <= bottom; ++y) {
        for (int x = cells.valueLeft; x < cells.valueRight; ++x) {
            if (inks(image.pixelColor(x, y), colour))
                return true;
        }
    }
    return false;
}

} // namespace

class TestStatDlg : public QObject
{
    Q_OBJECT

    QList<int> m_help;

    TStudent student() const
    {
        TStudent s(W("Ola"), 12, 0);
        measure(s, "a", 50.0F, 97.5F);
        measure(s, "ą", 25.5F, 100.0F);
        measure(s, " ", 80.0F, 1e9F); // damaged: more than 100 per cent
        measure(s, "b", std::numeric_limits<float>::quiet_NaN(), 40.0F);
        measure(s, "c", 60.0F, std::numeric_limits<float>::quiet_NaN()); // damaged: not listed
        return s;
    }

private slots:
    void init()
    {
        m_help.clear();
        Help::setHandler([this](QWidget *, int context) { m_help << context; });
    }

    void cleanup() { Help::setHandler({}); }

    void opensOnSpeed()
    {
        const TStudent s = student();
        TStatDlg dialog(nullptr, s);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Statystyka"));
        QCOMPARE(control(dialog, "101")->text(), QStringLiteral("&Szybkość - znaki/minutę"));
        QCOMPARE(control(dialog, "102")->text(), QStringLiteral("&Poprawność - procenty"));
        QVERIFY(control(dialog, "101")->isChecked());
        QVERIFY(!control(dialog, "102")->isChecked());
        QVERIFY(control<QPushButton>(dialog, "1")->isDefault());
        QCOMPARE(control(dialog, "1")->text(), QStringLiteral("&Zamknij"));
        QCOMPARE(control(dialog, "998")->text(), QStringLiteral("&Pomoc"));

        auto *list = control<QListWidget>(dialog, "100");
        QStringList rows;
        for (int i = 0; i < list->count(); ++i)
            rows << list->item(i)->text();
        QCOMPARE(rows, QStringList({ "a", "ą", "b", "Spacja" }));
        // Rows span the list, so the bars get its width.
        QCOMPARE(list->visualItemRect(list->item(0)).width(), list->viewport()->width());
    }

    void helpLeavesTheDialogOpen()
    {
        const TStudent s = student();
        TStatDlg dialog(nullptr, s);
        dialog.show();
        QTest::mouseClick(control(dialog, "998"), Qt::LeftButton);
        QCOMPARE(m_help, QList<int>({ 600 }));
        QVERIFY(dialog.isVisible());
        QTest::mouseClick(control(dialog, "1"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void bars_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("speedPermille"); // of the bar area, on the scale 100
        QTest::addColumn<int>("accuracyPermille");
        QTest::addColumn<QColor>("accuracyColour"); // by the level of the accuracy

        QTest::newRow("a: 50 z/m, 97.5 %: fair") << 0 << 500 << 975 << kAmber;
        QTest::newRow("ą: 25.5 z/m, 100 %: good") << 1 << 255 << 1000 << kGreen;
        QTest::newRow("b: NaN speed, 40 %: poor") << 2 << 0 << 400 << kRed;
        QTest::newRow("space: accuracy beyond 100 % fills, no more") << 3 << 800 << 1000 << kGreen;
    }

    void bars()
    {
        QFETCH(int, row);
        QFETCH(int, speedPermille);
        QFETCH(int, accuracyPermille);
        QFETCH(QColor, accuracyColour);

        const TStudent s = student();
        TStatDlg dialog(nullptr, s);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *list = control<QListWidget>(dialog, "100");
        const QRect rect = list->visualItemRect(list->item(row));
        const RowCells cells = cellsOf(rect);
        const QPoint origin = list->viewport()->mapTo(&dialog, QPoint(0, 0));
        const QColor background = list->viewport()->palette().color(QPalette::Base);

        const auto check = [&](const QColor &colour, const QColor &other, int permille) {
            QTest::qWait(50); // let a switch's repaint reach the screen
            const QImage image = onScreen(dialog).copy(QRect(origin, list->viewport()->size()));
            const int length = cells.barArea * permille / 1000;
            QCOMPARE(image.pixelColor(cells.barLeft - 1, cells.mid), background);
            if (length > 0) {
                QCOMPARE(image.pixelColor(cells.barLeft, cells.mid), colour);
                QCOMPARE(image.pixelColor(cells.barLeft + length - 1, cells.mid), colour);
                QCOMPARE(image.pixelColor(cells.barLeft + length - 1, rect.top() + 1), colour);
                QCOMPARE(image.pixelColor(cells.barLeft + length - 1, rect.bottom() - 1), colour);
                QCOMPARE(image.pixelColor(cells.barLeft + length - 1, rect.top()), background);
            }
            QCOMPARE(image.pixelColor(cells.barLeft + length, cells.mid), background);
            QVERIFY(valueInks(image, cells, rect.top(), rect.bottom(), colour));
            QVERIFY(!valueInks(image, cells, rect.top(), rect.bottom(), other));
        };

        check(kBlue, kAmber, speedPermille);
        click(dialog, "102");
        QVERIFY(control(dialog, "102")->isChecked());
        check(accuracyColour, kBlue, accuracyPermille);
        click(dialog, "101");
        check(kBlue, kAmber, speedPermille);
    }

    // A capital with a mark above it is drawn whole: its row is not the
    // row of the plain letter.
    void accentedCapitalsAreWhole_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("marked");
        QTest::newRow("Z and Ź") << "Z"
                                 << "Ź";
        QTest::newRow("Z and Ż") << "Z"
                                 << "Ż";
        QTest::newRow("S and Ś") << "S"
                                 << "Ś";
        QTest::newRow("O and Ó") << "O"
                                 << "Ó";
    }

    void accentedCapitalsAreWhole()
    {
        QFETCH(QString, plain);
        QFETCH(QString, marked);
        TStudent s(W("Ola"), 12, 0);
        measure(s, plain.toUtf8().constData(), 50.0F, 99.0F);
        measure(s, marked.toUtf8().constData(), 50.0F, 99.0F);
        TStatDlg dialog(nullptr, s);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *list = control<QListWidget>(dialog, "100");
        QCOMPARE(list->count(), 2);
        const QImage shown = list->viewport()->grab().toImage();
        const QRect first = list->visualItemRect(list->item(0));
        const QRect second = list->visualItemRect(list->item(1));
        QCOMPARE(first.size(), second.size());
        // The name cells of the two rows.
        const int nameWidth = cellsOf(first).valueLeft - first.left();
        QVERIFY(shown.copy(first.left(), first.top(), nameWidth, first.height())
            != shown.copy(second.left(), second.top(), nameWidth, second.height()));
    }

    void selectingARowChangesNothing()
    {
        const TStudent s = student();
        TStatDlg dialog(nullptr, s);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *list = control<QListWidget>(dialog, "100");
        const QImage before = list->viewport()->grab().toImage();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QTest::keyClick(list, Qt::Key_Down);
        QVERIFY(!list->selectedItems().isEmpty());
        QVERIFY(list->hasFocus());
        QCOMPARE(list->viewport()->grab().toImage(), before);
    }

    void noResultsNoRows()
    {
        const TStudent s;
        TStatDlg dialog(nullptr, s);
        dialog.show();
        QCOMPARE(control<QListWidget>(dialog, "100")->count(), 0);
        click(dialog, "102");
        QVERIFY(control(dialog, "102")->isChecked());
    }
};

QTEST_MAIN(TestStatDlg)
#include "tst_statdlg.moc"

#include "common/dialogtesting.h"
#include "common/testsupport.h"
#include "settings/toptions.h"
#include "students/tnewdlg.h"
#include "students/tstuddlg.h"
#include "students/tstudentlist.h"
#include "widgets/help.h"
#include "widgets/messages.h"

#include <functional>
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

namespace {

TStudentList studentsNamed(const QStringList &names)
{
    TStudentList list;
    for (const QString &name : names)
        list.add(TStudent(W(name.toUtf8().constData()), 0, 1));
    return list;
}

QStringList entries(QWidget &dialog)
{
    auto *list = control<QListWidget>(dialog, "101");
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text();
    return shown;
}

int selectedEntry(QWidget &dialog)
{
    auto *list = control<QListWidget>(dialog, "101");
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

void selectEntry(QWidget &dialog, int entry)
{
    auto *list = control<QListWidget>(dialog, "101");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(entry)).center());
}

// Types text as key presses, Polish letters too (QTest::keyClicks knows only ASCII).
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

// Runs what the nested "Nowy uczeń" needs once it is open.
void whenNewDialogOpens(QWidget &parent, std::function<void(TNewDlg &)> act)
{
    QTimer::singleShot(0, &parent, [&parent, act] {
        TNewDlg *dialog = parent.findChild<TNewDlg *>();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        act(*dialog);
    });
}

struct Box {
    QString caption;
    QString text;
};

} // namespace

class TestStudentDialogs : public QObject
{
    Q_OBJECT

    QList<Box> m_questions;
    bool m_answer = false;
    QStringList m_stops;
    QList<int> m_help;

private slots:
    void init()
    {
        m_questions.clear();
        m_stops.clear();
        m_help.clear();
        Messages::setHook([this](Messages::Kind kind, const QString &caption, const QString &text) {
            if (kind == Messages::Kind::Question)
                m_questions.append({ caption, text });
            if (kind == Messages::Kind::Stop)
                m_stops.append(text);
            return m_answer;
        });
        Help::setHandler([this](QWidget *, int context) { m_help << context; });
    }

    void cleanup()
    {
        Messages::setHook({});
        Help::setHandler({});
    }

    // "Nowy uczeń"

    void newStudentDialogOpensAsAMan()
    {
        TStudent student;
        TNewDlg dialog(nullptr, student);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Nowy uczeń"));
        QVERIFY(control(dialog, "103")->isChecked());
        QCOMPARE(control(dialog, "103")->text(), QStringLiteral("Mężczyzna"));
        QCOMPARE(control(dialog, "104")->text(), QStringLiteral("Kobieta"));
        QVERIFY(!control<QLineEdit>(dialog, "102")->isVisible());
        QVERIFY(control<QLineEdit>(dialog, "101")->isVisible());
        QStringList labels;
        for (QLabel *label : dialog.findChildren<QLabel *>()) {
            if (label->isVisible())
                labels << label->text();
        }
        QCOMPARE(labels, QStringList({ QStringLiteral("Imię:"), QStringLiteral("Płeć:") }));
        QVERIFY(control<QPushButton>(dialog, "1")->isDefault());
        QCOMPARE(control(dialog, "2")->text(), QStringLiteral("&Anuluj"));
    }

    void newStudentFromTheForm_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("woman");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("a man") << QStringLiteral("Jan") << false << QByteArray("Jan");
        QTest::newRow("a woman with Polish letters")
            << QStringLiteral("Małgorzata Żółć") << true << bytes(W("Małgorzata Żółć"));
        QTest::newRow("empty name refused") << QString() << false << QByteArray("unchanged");
        QTest::newRow("blank name refused") << QStringLiteral("   ") << true << QByteArray("unchanged");
        QTest::newRow("120 characters cut at 99") << QString(120, QLatin1Char('a')) << false << QByteArray(99, 'a');
        QTest::newRow("a character with no byte") << QStringLiteral("Ян") << true << QByteArray("??");
    }

    void newStudentFromTheForm()
    {
        QFETCH(QString, typed);
        QFETCH(bool, woman);
        QFETCH(QByteArray, name);
        TStudent student(W("unchanged"), 0, 1);
        TNewDlg dialog(nullptr, student);
        dialog.show();
        typeText(control<QLineEdit>(dialog, "101"), typed);
        if (woman)
            click(dialog, "104");
        QTest::keyClick(control<QLineEdit>(dialog, "101"), Qt::Key_Return);
        if (name == "unchanged") {
            QCOMPARE(m_stops, QStringList { QStringLiteral("Wpisz imię ucznia.") });
            QVERIFY(dialog.isVisible());
            QCOMPARE(bytes(student.Name), name);
            return;
        }
        QVERIFY(m_stops.isEmpty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(bytes(student.Name), name);
        QCOMPARE(student.Male, woman ? 0 : 1);
        QCOMPARE(student.Age, 0);
        QCOMPARE(student.NextLesson, 1201);
    }

    void pastedLongNameIsCut()
    {
        TStudent student;
        TNewDlg dialog(nullptr, student);
        control<QLineEdit>(dialog, "101")->setText(QString(300, QChar(0x0142))); // ł
        dialog.accept();
        QCOMPARE(bytes(student.Name), QByteArray(99, '\xB3'));
    }

    void cancelLeavesTheStudent()
    {
        TStudent student(W("Stary"), 5, 0);
        TNewDlg dialog(nullptr, student);
        dialog.show();
        QTest::keyClicks(control<QLineEdit>(dialog, "101"), QStringLiteral("Nowy"));
        click(dialog, "2");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(bytes(student.Name), QByteArray("Stary"));
        QCOMPARE(student.Age, 5);
        QCOMPARE(student.Male, 0);
    }

    // "Rejestracja"

    void registrationShowsEveryStudentInOrder_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("studentNo");
        QTest::newRow("no students") << QStringList() << -1;
        QTest::newRow("anonymous current") << QStringList({ "Ala", "Ola" }) << -1;
        QTest::newRow("second student current") << QStringList({ "Ala", "Ola", "Ela" }) << 1;
        QTest::newRow("same name twice") << QStringList({ "Ala", "Ala" }) << 1;
    }

    void registrationShowsEveryStudentInOrder()
    {
        QFETCH(QStringList, names);
        QFETCH(int, studentNo);
        TStudentList list = studentsNamed(names);
        TOptions options;
        options.ShowAfaterStart = false;
        TStudDlg dialog(nullptr, list, options, studentNo);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Rejestracja"));
        QCOMPARE(entries(dialog), QStringList { QStringLiteral("[anonim]") } + names);
        QCOMPARE(selectedEntry(dialog), studentNo + 1);
        QVERIFY(!control(dialog, "104")->isChecked());
        QCOMPARE(control(dialog, "104")->text(), QStringLiteral("Pokaż po &starcie"));
        const QList<std::pair<const char *, QString>> buttons
            = { { "1", QStringLiteral("&OK") }, { "2", QStringLiteral("&Zamknij") }, { "102", QStringLiteral("&Nowy") },
                  { "103", QStringLiteral("&Usuń") }, { "998", QStringLiteral("&Pomoc") } };
        for (const auto &[id, text] : buttons)
            QCOMPARE(control(dialog, id)->text(), text);
    }

    void okWithNoStudentsKeepsAnonymous()
    {
        TStudentList list;
        TOptions options;
        int studentNo = -1;
        TStudDlg dialog(nullptr, list, options, studentNo);
        dialog.show();
        click(dialog, "1");
        QCOMPARE(studentNo, -1);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void choosingAStudent_data()
    {
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("OK") << false;
        QTest::newRow("double click") << true;
    }

    void choosingAStudent()
    {
        QFETCH(bool, doubleClick);
        TStudentList list = studentsNamed({ "Ala", "Ola", "Ela" });
        TOptions options;
        int studentNo = -1;
        TStudDlg dialog(nullptr, list, options, studentNo);
        dialog.show();
        click(dialog, "104"); // "Pokaż po starcie" off
        auto *listBox = control<QListWidget>(dialog, "101");
        if (doubleClick) {
            const QPoint at = listBox->visualItemRect(listBox->item(3)).center();
            QTest::mouseClick(listBox->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(listBox->viewport(), Qt::LeftButton, {}, at);
        } else {
            selectEntry(dialog, 3);
            click(dialog, "1");
        }
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(studentNo, 2);
        QCOMPARE(options.ShowAfaterStart, false);
    }

    void closeKeepsTheSettings()
    {
        TStudentList list = studentsNamed({ "Ala", "Ola" });
        TOptions options;
        int studentNo = 0;
        TStudDlg dialog(nullptr, list, options, studentNo);
        dialog.show();
        selectEntry(dialog, 2);
        click(dialog, "104");
        click(dialog, "2");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(studentNo, 0);
        QCOMPARE(options.ShowAfaterStart, true);
    }

    void newStudentIsAddedAtOnce()
    {
        TStudentList list = studentsNamed({ "Ala" });
        TOptions options;
        int studentNo = -1;
        TStudDlg dialog(nullptr, list, options, studentNo);
        QSignalSpy changed(&dialog, &TStudDlg::listChanged);
        dialog.show();
        whenNewDialogOpens(dialog, [](TNewDlg &added) {
            QTest::keyClicks(added.findChild<QLineEdit *>(QStringLiteral("101")), QStringLiteral("Zuzia"));
            added.findChild<QRadioButton *>(QStringLiteral("104"))->setChecked(true);
            added.findChild<QPushButton *>(QStringLiteral("1"))->click();
        });
        click(dialog, "102");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(list.count(), 2);
        QCOMPARE(bytes(list.at(1).Name), QByteArray("Zuzia"));
        QCOMPARE(list.at(1).Male, 0);
        QCOMPARE(entries(dialog), QStringList({ "[anonim]", "Ala", "Zuzia" }));
        QCOMPARE(selectedEntry(dialog), 2);

        // closed with "Zamknij": the student stays, but is not current
        click(dialog, "2");
        QCOMPARE(list.count(), 2);
        QCOMPARE(studentNo, -1);
    }

    void cancelledNewStudentChangesNothing()
    {
        TStudentList list = studentsNamed({ "Ala" });
        TOptions options;
        int studentNo = 0;
        TStudDlg dialog(nullptr, list, options, studentNo);
        QSignalSpy changed(&dialog, &TStudDlg::listChanged);
        dialog.show();
        whenNewDialogOpens(dialog, [](TNewDlg &added) {
            QTest::keyClicks(added.findChild<QLineEdit *>(QStringLiteral("101")), QStringLiteral("Zuzia"));
            added.findChild<QPushButton *>(QStringLiteral("2"))->click();
        });
        click(dialog, "102");
        QCOMPARE(changed.count(), 0);
        QCOMPARE(list.count(), 1);
        QCOMPARE(entries(dialog), QStringList({ "[anonim]", "Ala" }));
        QCOMPARE(selectedEntry(dialog), 1);
    }

    void removeAsksAboutTheStudent_data()
    {
        QTest::addColumn<int>("selected"); // -1: nothing selected
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<int>("chosenByOk"); // nothing is selected after a removal
        QTest::newRow("a student, answered Tak") << 2 << true << QStringList({ "Ala", "Ela" }) << -1;
        QTest::newRow("a student, answered Nie") << 2 << false << QStringList({ "Ala", "Ola", "Ela" }) << 1;
        QTest::newRow("[anonim]: nobody to ask about") << 0 << true << QStringList({ "Ala", "Ola", "Ela" }) << -1;
        QTest::newRow("nothing selected: nobody to ask about")
            << -1 << true << QStringList({ "Ala", "Ola", "Ela" }) << -1;
    }

    void removeAsksAboutTheStudent()
    {
        QFETCH(int, selected);
        QFETCH(bool, answer);
        QFETCH(QStringList, left);
        QFETCH(int, chosenByOk);
        TStudentList list = studentsNamed({ "Ala", "Ola", "Ela" });
        TOptions options;
        int studentNo = -1;
        TStudDlg dialog(nullptr, list, options, studentNo);
        QSignalSpy changed(&dialog, &TStudDlg::listChanged);
        dialog.show();
        if (selected >= 0)
            selectEntry(dialog, selected);
        else
            control<QListWidget>(dialog, "101")->clearSelection();
        m_answer = answer;
        click(dialog, "103");
        QCOMPARE(m_questions.size(), selected >= 1 ? 1 : 0);
        if (selected >= 1) {
            QCOMPARE(m_questions[0].caption, QStringLiteral("Palcomir"));
            QCOMPARE(m_questions[0].text, QStringLiteral("Czy na pewno usunąć ucznia „Ola” i jego wyniki?"));
        }
        QStringList names;
        for (int i = 0; i < list.count(); ++i)
            names << QString::fromLatin1(list.at(i).Name);
        QCOMPARE(names, left);
        QCOMPARE(entries(dialog), QStringList { QStringLiteral("[anonim]") } + left);
        QCOMPARE(changed.count(), left.size() == 3 ? 0 : 1);
        click(dialog, "1");
        QCOMPARE(studentNo, chosenByOk);
    }

    // After "Usuń" and "Zamknij" the current student is still the same person, or nobody.
    void currentStudentFollowsRemovals_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("removedEntry");
        QTest::addColumn<int>("expected");
        QTest::newRow("the current student removed") << 2 << 3 << -1;
        QTest::newRow("a student before it removed") << 2 << 1 << 1;
        QTest::newRow("a student after it removed") << 0 << 2 << 0;
    }

    void currentStudentFollowsRemovals()
    {
        QFETCH(int, current);
        QFETCH(int, removedEntry);
        QFETCH(int, expected);
        TStudentList list = studentsNamed({ "Ala", "Ola", "Ela" });
        TOptions options;
        int studentNo = current;
        TStudDlg dialog(nullptr, list, options, studentNo);
        dialog.show();
        selectEntry(dialog, removedEntry);
        m_answer = true;
        click(dialog, "103");
        QCOMPARE(selectedEntry(dialog), -1);
        click(dialog, "2");
        QCOMPARE(studentNo, expected);
        QVERIFY(studentNo < list.count());
    }

    void helpAsksForItsPage_data()
    {
        QTest::addColumn<bool>("registration");
        QTest::addColumn<int>("context");
        QTest::newRow("Nowy uczeń") << false << 590;
        QTest::newRow("Rejestracja") << true << 580;
    }

    void helpAsksForItsPage()
    {
        QFETCH(bool, registration);
        QFETCH(int, context);
        TStudent student;
        TStudentList list;
        TOptions options;
        int studentNo = -1;
        std::unique_ptr<QDialog> dialog;
        if (registration)
            dialog = std::make_unique<TStudDlg>(nullptr, list, options, studentNo);
        else
            dialog = std::make_unique<TNewDlg>(nullptr, student);
        dialog->show();
        click(*dialog, "998");
        QCOMPARE(m_help, QList<int>({ context }));
        QVERIFY(dialog->isVisible());
    }
};

QTEST_MAIN(TestStudentDialogs)
#include "tst_studentdialogs.moc"

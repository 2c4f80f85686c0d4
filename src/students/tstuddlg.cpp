#include "students/tstuddlg.h"

#include "settings/toptions.h"
#include "students/tnewdlg.h"
#include "students/tstudentlist.h"
#include "widgets/dialogbuttons.h"
#include "widgets/help.h"
#include "widgets/messages.h"
#include "widgets/textcodec.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QUuid>
#include <QVBoxLayout>

TStudDlg::TStudDlg(QWidget *parent, TStudentList &students, TOptions &options, int &studentNo)
    : QDialog(parent)
    , m_students(students)
    , m_options(options)
    , m_studentNo(studentNo)
{
    setWindowTitle(QStringLiteral("Rejestracja"));
    setObjectName(QStringLiteral("22001"));

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("101"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAccessibleName(QStringLiteral("Uczniowie"));
    fillList(studentNo + 1);

    m_showAtStart = new QCheckBox(QStringLiteral("Pokaż po &starcie"), this);
    m_showAtStart->setObjectName(QStringLiteral("104"));
    m_showAtStart->setChecked(options.ShowAfaterStart);

    auto *ok = dialogButton(this, QStringLiteral("&OK"), 1, true);
    auto *close = dialogButton(this, QStringLiteral("&Zamknij"), 2);
    auto *add = dialogButton(this, QStringLiteral("&Nowy"), 102);
    auto *remove = dialogButton(this, QStringLiteral("&Usuń"), 103);
    auto *help = dialogButton(this, QStringLiteral("&Pomoc"), 998);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(add, &QPushButton::clicked, this, &TStudDlg::addStudent);
    connect(remove, &QPushButton::clicked, this, &TStudDlg::removeStudent);
    connect(help, &QPushButton::clicked, this, [this] { Help::show(this, Help::Registration); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_list, &QListWidget::currentRowChanged, this, &TStudDlg::selectionMoved);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(close);
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addWidget(help);
    buttons->addStretch();

    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Uczniowie:"), this), 0, 0);
    layout->addWidget(m_list, 1, 0);
    layout->addLayout(buttons, 1, 1);
    layout->addWidget(m_showAtStart, 2, 0, 1, 2, Qt::AlignRight);
    m_list->setFocus();
}

void TStudDlg::fillList(int entry)
{
    m_filling = true;
    m_list->clear();
    m_list->addItem(QStringLiteral("[anonim]"));
    for (int i = 0; i < m_students.count(); ++i)
        m_list->addItem(textcodec::toQString(m_students.at(i).Name));
    if (QListWidgetItem *current = m_list->item(entry))
        m_list->setCurrentItem(current);
    m_filling = false;
    selectionMoved(m_list->currentRow());
}

// Who is selected, by identity: the list may be replaced while it is shown.
void TStudDlg::selectionMoved(int entry)
{
    if (!m_filling && entry >= 0)
        m_selectedId = entry >= 1 && entry - 1 < m_students.count() ? m_students.at(entry - 1).Id : std::string();
}

void TStudDlg::reload()
{
    // The selected pupil stays selected wherever the list moved them.
    int select = m_selectedId.empty() ? 0 : -1;
    for (int i = 0; i < m_students.count() && select < 0; ++i) {
        if (m_students.at(i).Id == m_selectedId)
            select = i + 1;
    }
    fillList(select);
}

void TStudDlg::changed()
{
    const int entry = selectedEntry();
    m_selectedId = entry >= 1 ? m_students.at(entry - 1).Id : std::string();
    emit listChanged();
}

int TStudDlg::selectedEntry() const
{
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.first());
}

void TStudDlg::addStudent()
{
    TStudent student;
    TNewDlg dialog(this, student);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // A new pupil is nobody else, whatever the name.
    student.Id = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
    m_students.add(student);
    m_list->addItem(textcodec::toQString(student.Name));
    m_list->setCurrentRow(m_list->count() - 1);
    changed();
}

void TStudDlg::removeStudent()
{
    // "[anonim]" or nothing selected: there is nobody to remove, nor to ask about.
    const int entry = selectedEntry();
    if (entry < 1)
        return;
    const QString name = m_list->item(entry)->text();
    if (!Messages::ask(this, QStringLiteral("Palcomir"),
            QStringLiteral("Czy na pewno usunąć ucznia „%1” i jego wyniki?").arg(name)))
        return;
    delete m_list->takeItem(entry);
    m_list->clearSelection();
    m_list->setCurrentItem(nullptr);
    m_students.remove(entry - 1);
    // Closing with "Zamknij" keeps the stored index, so it must go on naming
    // the same student, or nobody once that student is gone.
    m_studentNo = studentNoAfterRemoval(m_studentNo, entry - 1);
    changed();
}

void TStudDlg::accept()
{
    const int entry = selectedEntry();
    m_studentNo = entry >= 0 ? entry - 1 : -1;
    m_options.ShowAfaterStart = m_showAtStart->isChecked();
    QDialog::accept();
}

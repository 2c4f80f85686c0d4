#include "history/classdlg.h"

#include "widgets/dialogbuttons.h"
#include "widgets/help.h"
#include "widgets/messages.h"
#include "widgets/viewzoom.h"

#include <algorithm>

#include <QCollator>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kSortRole = Qt::UserRole;
constexpr int kRowRole = Qt::UserRole + 1; // the row's index among the rows given

// Sorts by its sort value: numbers as numbers, names in Polish alphabet order.
class SortItem : public QTableWidgetItem
{
public:
    using QTableWidgetItem::QTableWidgetItem;

    bool operator<(const QTableWidgetItem &other) const override
    {
        const QVariant mine = data(kSortRole);
        const QVariant theirs = other.data(kSortRole);
        if (mine.typeId() == QMetaType::Double || theirs.typeId() == QMetaType::Double)
            return mine.toDouble() < theirs.toDouble();
        static const QCollator polish(QLocale(QLocale::Polish, QLocale::Poland));
        return polish.compare(mine.toString(), theirs.toString()) < 0;
    }
};

QTableWidgetItem *cell(const QString &text, const QVariant &sortValue, bool number)
{
    auto *item = new SortItem(text);
    item->setData(kSortRole, sortValue);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

// Students who never practised sort below every figure.
double figure(const std::optional<double> &value)
{
    return value ? *value : -1.0;
}

} // namespace

ClassDlg::ClassDlg(QWidget *parent, std::vector<ClassRow> rows, const std::vector<int> &nextLessons)
    : QDialog(parent)
    , m_rows(std::move(rows))
{
    setWindowTitle(QStringLiteral("Klasa"));
    setObjectName(QStringLiteral("22011"));
    resize(ViewZoom::scaled(QSize(620, 400)));

    m_table = new QTableWidget(int(m_rows.size()), 6, this);
    m_table->setObjectName(QStringLiteral("101"));
    m_table->setHorizontalHeaderLabels(
        { QStringLiteral("Uczeń"), QStringLiteral("Następna lekcja"), QStringLiteral("Lekcje"),
            QStringLiteral("Ostatnio"), QStringLiteral("Szybkość"), QStringLiteral("Poprawność") });
    m_table->setToolTip(QStringLiteral("Szybkość i poprawność: średnia z pięciu ostatnich lekcji"));
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->setWordWrap(false);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(NextLesson, QHeaderView::Stretch);
    for (int row = 0; row < int(m_rows.size()); ++row) {
        const ClassRow &r = m_rows[std::size_t(row)];
        const auto text = [](const std::string &utf8) { return QString::fromStdString(utf8); };
        const auto shown = [](const std::optional<double> &v) { return v ? QString::number(*v, 'f', 1) : QString(); };
        const int next = std::size_t(row) < nextLessons.size() ? nextLessons[std::size_t(row)] : 0;
        m_table->setItem(row, Name, cell(text(r.name), text(r.name), false));
        m_table->item(row, Name)->setData(kRowRole, row);
        m_table->setItem(row, NextLesson, cell(text(r.nextLesson), double(next), false));
        m_table->setItem(row, Finished, cell(QString::number(r.finished), double(r.finished), true));
        m_table->setItem(row, LastPractice, cell(text(r.lastPractice), text(r.lastPractice), false));
        m_table->setItem(row, Speed, cell(shown(r.speed), figure(r.speed), true));
        m_table->setItem(row, Accuracy, cell(shown(r.accuracy), figure(r.accuracy), true));
    }
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(Name, Qt::AscendingOrder);

    auto *close = dialogButton(this, QStringLiteral("&Zamknij"), 1, true);
    auto *exportButton = dialogButton(this, QStringLiteral("&Eksportuj…"), 102);
    auto *help = dialogButton(this, QStringLiteral("&Pomoc"), 998);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(exportButton, &QPushButton::clicked, this, &ClassDlg::exportFile);
    connect(help, &QPushButton::clicked, this, [this] { Help::show(this, Help::ClassView); });

    m_report = dialogButton(this, QStringLiteral("&Raport…"), 104);
    m_report->hide();
    connect(m_report, &QPushButton::clicked, this, [this] {
        ReportDlg report(this, m_reportRows);
        report.exec();
    });

    m_forget = dialogButton(this, QStringLiteral("&Usuń wyniki"), 103);
    m_forget->hide();
    connect(m_forget, &QPushButton::clicked, this, &ClassDlg::forgetSelected);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, [this] {
        const int row = selectedRow();
        m_forget->setEnabled(row >= 0 && std::size_t(row) < m_forgettable.size() && m_forgettable[std::size_t(row)]);
    });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(exportButton);
    buttons->addWidget(m_report);
    buttons->addWidget(m_forget);
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addWidget(help);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(buttons);
    m_table->setFocus();
}

bool ClassDlg::exportTo(const QString &path) const
{
    const std::string csv = classCsv(m_rows);
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(csv.data(), qint64(csv.size())) != qint64(csv.size())) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

void ClassDlg::exportFile()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Eksportuj"),
        QDir::home().filePath(QStringLiteral("klasa.csv")), QStringLiteral("Pliki CSV (*.csv);;Wszystkie (*.*)"));
    if (path.isEmpty())
        return;
    if (!exportTo(path)) {
        Messages::stop(this, QStringLiteral("Eksportuj"),
            QStringLiteral("Nie można zapisać pliku %1.").arg(QDir::toNativeSeparators(path)));
    }
}

void ClassDlg::allowReport(ReportDlg::RowsFor rowsFor)
{
    m_reportRows = std::move(rowsFor);
    m_report->setVisible(bool(m_reportRows));
}

void ClassDlg::allowForgetting(std::vector<bool> rows, std::function<void(int row)> forget)
{
    m_forgettable = std::move(rows);
    m_forgetRow = std::move(forget);
    m_forget->setVisible(std::find(m_forgettable.begin(), m_forgettable.end(), true) != m_forgettable.end());
    m_forget->setEnabled(false);
}

int ClassDlg::selectedRow() const
{
    const QList<QTableWidgetItem *> selected = m_table->selectedItems();
    if (selected.isEmpty())
        return -1;
    return m_table->item(selected.first()->row(), Name)->data(kRowRole).toInt();
}

void ClassDlg::forgetSelected()
{
    const int row = selectedRow();
    if (row < 0 || std::size_t(row) >= m_forgettable.size() || !m_forgettable[std::size_t(row)])
        return;
    const QString name = QString::fromStdString(m_rows[std::size_t(row)].name);
    if (!Messages::ask(this, QStringLiteral("Klasa"),
            QStringLiteral("Czy na pewno usunąć wyniki „%1”? Tego ucznia nie ma już na liście.").arg(name)))
        return;
    m_forgetRow(row);
    m_forgettable[std::size_t(row)] = false;
    m_table->removeRow(m_table->selectedItems().first()->row());
}

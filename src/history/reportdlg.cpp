#include "history/reportdlg.h"

#include "lessons/lessonfont.h"
#include "students/studentstore.h"
#include "widgets/dialogbuttons.h"
#include "widgets/help.h"
#include "widgets/messages.h"

#include <algorithm>

#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QVBoxLayout>

namespace {

constexpr auto kIsoDay = "yyyy-MM-dd";
constexpr int kFirstNumberColumn = 4; // the duration and every column after it
// Per cent of the line for each column: the longest names and titles fit on
// one line, so forty rows fill a page and no more.
constexpr int kColumnWidths[] = { 16, 5, 11, 32, 5, 8, 5, 9, 9 };

QString daysText(const ReportDays &days)
{
    const QString from = QString::fromStdString(days.from);
    const QString to = QString::fromStdString(days.to);
    if (!from.isEmpty() && !to.isEmpty())
        return QStringLiteral("od %1 do %2").arg(from, to);
    if (!from.isEmpty())
        return QStringLiteral("od %1").arg(from);
    if (!to.isEmpty())
        return QStringLiteral("do %1").arg(to);
    return QStringLiteral("wszystkie dni");
}

} // namespace

ReportDlg::ReportDlg(QWidget *parent, RowsFor rowsFor)
    : QDialog(parent)
    , m_rowsFor(std::move(rowsFor))
{
    setWindowTitle(QStringLiteral("Raport lekcji"));
    setObjectName(QStringLiteral("22012"));

    const QDate today = QDate::currentDate();
    const auto dayEdit = [this](const QDate &date, const char *name, const QString &accessible) {
        auto *edit = new QDateEdit(date, this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setDisplayFormat(QString::fromLatin1(kIsoDay));
        edit->setCalendarPopup(true);
        edit->setAccessibleName(accessible);
        connect(edit, &QDateEdit::dateChanged, this, &ReportDlg::refresh);
        return edit;
    };
    m_from = dayEdit(today.addMonths(-1), "201", QStringLiteral("Pierwszy dzień raportu"));
    m_to = dayEdit(today, "202", QStringLiteral("Ostatni dzień raportu"));
    auto *fromLabel = new QLabel(QStringLiteral("&Od:"), this);
    fromLabel->setBuddy(m_from);
    auto *toLabel = new QLabel(QStringLiteral("&Do:"), this);
    toLabel->setBuddy(m_to);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("203"));

    auto *csv = dialogButton(this, QStringLiteral("Zapisz &CSV…"), 101);
    auto *pdf = dialogButton(this, QStringLiteral("Zapisz P&DF…"), 102);
    auto *printButton = dialogButton(this, QStringLiteral("&Drukuj…"), 103);
    auto *close = dialogButton(this, QStringLiteral("&Zamknij"), 1, true);
    auto *help = dialogButton(this, QStringLiteral("&Pomoc"), 998);
    m_saving = { csv, pdf, printButton };
    connect(csv, &QPushButton::clicked, this, [this] {
        saveAs(
            QStringLiteral("raport.csv"), QStringLiteral("Pliki CSV (*.csv);;Wszystkie (*.*)"), &ReportDlg::exportCsv);
    });
    connect(pdf, &QPushButton::clicked, this, [this] {
        saveAs(
            QStringLiteral("raport.pdf"), QStringLiteral("Pliki PDF (*.pdf);;Wszystkie (*.*)"), &ReportDlg::exportPdf);
    });
    connect(printButton, &QPushButton::clicked, this, &ReportDlg::printOut);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(help, &QPushButton::clicked, this, [this] { Help::show(this, Help::ClassView); });

    auto *daysRow = new QHBoxLayout;
    daysRow->addWidget(fromLabel);
    daysRow->addWidget(m_from);
    daysRow->addSpacing(12);
    daysRow->addWidget(toLabel);
    daysRow->addWidget(m_to);
    daysRow->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(csv);
    buttons->addWidget(pdf);
    buttons->addWidget(printButton);
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addWidget(help);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(daysRow);
    layout->addWidget(m_count);
    layout->addLayout(buttons);
    refresh();
}

void ReportDlg::setDays(const QDate &from, const QDate &to)
{
    m_from->setDate(from);
    m_to->setDate(to);
    refresh();
}

ReportDays ReportDlg::days() const
{
    return { m_from->date().toString(QString::fromLatin1(kIsoDay)).toStdString(),
        m_to->date().toString(QString::fromLatin1(kIsoDay)).toStdString() };
}

void ReportDlg::refresh()
{
    m_rows = m_rowsFor(days());
    m_count->setText(QStringLiteral("Lekcji w raporcie: %1").arg(m_rows.size()));
    for (QPushButton *button : m_saving)
        button->setEnabled(!m_rows.empty());
}

bool ReportDlg::exportCsv(const QString &path) const
{
    const std::string csv = reportCsv(m_rows);
    return StudentStore::writeWhole(path, csv.data(), qint64(csv.size()));
}

bool ReportDlg::exportPdf(const QString &path) const
{
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter writer(&out);
        writer.setTitle(QStringLiteral("Raport lekcji"));
        writer.setCreator(QStringLiteral("Palcomir"));
        writer.setPageLayout(QPageLayout(
            QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        print(writer, m_rows, days());
    }
    if (out.error() != QFileDevice::NoError) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

std::unique_ptr<QTextDocument> ReportDlg::document(const std::vector<ReportRow> &rows, const ReportDays &days)
{
    auto doc = std::make_unique<QTextDocument>();
    // The bundled font has every Polish letter, whatever the machine has.
    QFont font(LessonFont::family());
    font.setPointSizeF(7);
    doc->setDefaultFont(font);

    QTextCursor cursor(doc.get());
    QTextCharFormat title;
    title.setFontPointSize(12);
    title.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("Raport lekcji"), title);
    cursor.insertBlock();
    cursor.insertText(daysText(days), QTextCharFormat());

    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    const std::vector<std::string> header = reportHeader();
    const int columns = int(header.size());
    std::size_t first = 0;
    do {
        const std::size_t count = std::min<std::size_t>(kRowsPerPage, rows.size() - first);
        QTextTableFormat format;
        format.setHeaderRowCount(1); // also where a page of wrapped names runs over
        format.setCellPadding(1);
        format.setCellSpacing(0);
        format.setBorder(0.5);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderCollapse(true);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        QList<QTextLength> widths;
        for (const int width : kColumnWidths)
            widths << QTextLength(QTextLength::PercentageLength, width);
        format.setColumnWidthConstraints(widths);
        format.setTopMargin(6);
        if (first > 0)
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextTable *table = cursor.insertTable(int(count) + 1, columns, format);
        const auto fill = [&](int row, const std::vector<std::string> &fields, const QTextCharFormat &chars) {
            for (int column = 0; column < columns; ++column) {
                QTextCursor at = table->cellAt(row, column).firstCursorPosition();
                if (column >= kFirstNumberColumn)
                    at.setBlockFormat(right);
                at.insertText(QString::fromStdString(fields[std::size_t(column)]), chars);
            }
        };
        fill(0, header, bold);
        for (std::size_t i = 0; i < count; ++i)
            fill(int(i) + 1, reportFields(rows[first + i]), QTextCharFormat());
        cursor.movePosition(QTextCursor::End);
        first += count;
    } while (first < rows.size());
    return doc;
}

void ReportDlg::print(QPagedPaintDevice &device, const std::vector<ReportRow> &rows, const ReportDays &days)
{
    document(rows, days)->print(&device);
}

QString ReportDlg::askFile(const QString &caption, const QString &name, const QString &filter)
{
    return QFileDialog::getSaveFileName(this, caption, QDir::home().filePath(name), filter);
}

void ReportDlg::saveAs(const QString &name, const QString &filter, bool (ReportDlg::*write)(const QString &) const)
{
    const QString path = askFile(QStringLiteral("Zapisz raport"), name, filter);
    if (!path.isEmpty() && !(this->*write)(path)) {
        Messages::stop(this, QStringLiteral("Zapisz raport"),
            QStringLiteral("Nie można zapisać pliku %1.").arg(QDir::toNativeSeparators(path)));
    }
}

void ReportDlg::printOut()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Raport lekcji"));
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        print(printer, m_rows, days());
}

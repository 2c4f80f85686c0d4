#pragma once

#include "history/lessonreport.h"

#include <functional>
#include <memory>
#include <vector>

#include <QDate>
#include <QDialog>

class QDateEdit;
class QLabel;
class QPagedPaintDevice;
class QPushButton;
class QTextDocument;

// "Raport…" of "Klasa": the lessons finished between two days, saved as a
// CSV file or a PDF table, or printed.
class ReportDlg : public QDialog
{
    Q_OBJECT

public:
    using RowsFor = std::function<std::vector<ReportRow>(const ReportDays &days)>;

    ReportDlg(QWidget *parent, RowsFor rowsFor);

    void setDays(const QDate &from, const QDate &to);
    ReportDays days() const;
    const std::vector<ReportRow> &rows() const { return m_rows; }

    // Each writes the file whole or not at all; false (and the old file kept) on failure.
    bool exportCsv(const QString &path) const;
    bool exportPdf(const QString &path) const;

    // Rows on one printed page, under the column names.
    static constexpr int kRowsPerPage = 40;
    // The printed report: A4 across, its title with the days, then tables of
    // kRowsPerPage rows, each on a page of its own under the column names.
    static std::unique_ptr<QTextDocument> document(const std::vector<ReportRow> &rows, const ReportDays &days);
    static void print(QPagedPaintDevice &device, const std::vector<ReportRow> &rows, const ReportDays &days);

private:
    void refresh();
    // Asks where, writes with `write`, and says when it could not.
    void saveAs(const QString &name, const QString &filter, bool (ReportDlg::*write)(const QString &) const);
    void printOut();
    QString askFile(const QString &caption, const QString &name, const QString &filter);

    RowsFor m_rowsFor;
    std::vector<ReportRow> m_rows;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    QLabel *m_count = nullptr;
    std::vector<QPushButton *> m_saving; // disabled while the report is empty
};

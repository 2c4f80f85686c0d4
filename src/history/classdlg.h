#pragma once

#include "history/classcsv.h"
#include "history/reportdlg.h"

#include <functional>
#include <vector>

#include <QDialog>

class QPushButton;
class QTableWidget;

// "Klasa": every student on one page, sortable by each column, and
// "Eksportuj…" to a CSV file for a spreadsheet; "Raport…" lists their lessons.
class ClassDlg : public QDialog
{
    Q_OBJECT

public:
    // Columns, as classCsv writes them.
    enum Column { Name, NextLesson, Finished, LastPractice, Speed, Accuracy };

    // nextLessons: the course number of each row's next lesson (for sorting).
    ClassDlg(QWidget *parent, std::vector<ClassRow> rows, const std::vector<int> &nextLessons);

    // Rows of results whose pupil is no longer on the list: "Usuń wyniki"
    // deletes them (forget is told the row's index) once the teacher agrees.
    void allowForgetting(std::vector<bool> rows, std::function<void(int row)> forget);

    // "Raport…" opens the report of the lessons that rowsFor gives for the days chosen.
    void allowReport(ReportDlg::RowsFor rowsFor);

    QTableWidget *table() const { return m_table; }
    // Writes the CSV file whole or not at all; false (and the old file kept) on failure.
    bool exportTo(const QString &path) const;

private:
    void exportFile();
    void forgetSelected();
    int selectedRow() const; // an index of the rows given, -1 for none

    std::vector<ClassRow> m_rows;
    QTableWidget *m_table = nullptr;
    QPushButton *m_forget = nullptr;
    QPushButton *m_report = nullptr;
    ReportDlg::RowsFor m_reportRows;
    std::vector<bool> m_forgettable;
    std::function<void(int)> m_forgetRow;
};

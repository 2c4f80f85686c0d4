#pragma once

#include "history/classcsv.h"

#include <vector>

#include <QDialog>

class QTableWidget;

// "Klasa": every student on one page, sortable by each column, and
// "Eksportuj…" to a CSV file for a spreadsheet.
class ClassDlg : public QDialog
{
    Q_OBJECT

public:
    // Columns, as classCsv writes them.
    enum Column { Name, NextLesson, Finished, LastPractice, Speed, Accuracy };

    // nextLessons: the course number of each row's next lesson (for sorting).
    ClassDlg(QWidget *parent, std::vector<ClassRow> rows, const std::vector<int> &nextLessons);

    QTableWidget *table() const { return m_table; }
    // Writes the CSV file whole or not at all; false (and the old file kept) on failure.
    bool exportTo(const QString &path) const;

private:
    void exportFile();

    std::vector<ClassRow> m_rows;
    QTableWidget *m_table = nullptr;
};

#pragma once

#include <string>

#include <QDialog>

class QCheckBox;
class QListWidget;
class TStudentList;
struct TOptions;

// "Rejestracja": picks the current student, or "[anonim]", and adds and
// removes students. Adding and removing change the list at once (and say so
// through listChanged, so the owner can save it); the current student and
// "Pokaż po starcie" change only when the dialog is accepted.
class TStudDlg : public QDialog
{
    Q_OBJECT

public:
    TStudDlg(QWidget *parent, TStudentList &students, TOptions &options, int &studentNo);

    void accept() override;
    // Shows the list again after its owner changed it (pupils from other
    // computers), keeping the selected pupil selected.
    void reload();

signals:
    void listChanged();

private:
    void fillList(int entry);
    void selectionMoved(int entry);
    void changed();
    void addStudent();
    void removeStudent();
    int selectedEntry() const; // -1 when nothing is selected

    TStudentList &m_students;
    TOptions &m_options;
    int &m_studentNo;
    QListWidget *m_list = nullptr; // 101: "[anonim]", then every student
    QCheckBox *m_showAtStart = nullptr; // 104
    std::string m_selectedId;
    bool m_filling = false;
};

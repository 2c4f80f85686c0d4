#pragma once

#include <QDialog>

class LessonLibrary;
class QListWidget;
struct TStudent;

// "Wybór lekcji": one row per stored lesson of a group, titled from the
// library's titles; "OK" or a double click hands back the chosen lesson number.
class TChoseDlg : public QDialog
{
    Q_OBJECT

public:
    // The result is written only when the dialog is accepted.
    TChoseDlg(QWidget *parent, const TStudent *student, int &result, int firstLesson, const LessonLibrary &library);

    QListWidget *list() const { return m_list; }

protected:
    // Help page and list label of this kind of list.
    TChoseDlg(QWidget *parent, const TStudent *student, int &result, int firstLesson, const LessonLibrary &library,
        const QString &caption, const QString &label, int helpContext);

    // Adds one row per lesson of the group, from the first lesson on.
    virtual void fillList();
    void showEvent(QShowEvent *event) override;

    const LessonLibrary &m_library;
    const int m_firstLesson;

private:
    void choose();

    int &m_result;
    QListWidget *m_list = nullptr;
    bool m_filled = false;
};

#pragma once

#include "settings/teacherrules.h"

#include <QDialog>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QRadioButton;
struct TOptions;

// "Opcje": the sound, keyboard picture and error settings. The record is
// changed only when the dialog is accepted; the file is written at exit.
class TOptionsDlg : public QDialog
{
    Q_OBJECT

public:
    // shownZoom: the zoom step the window is shown at, offered when the
    // options name none.
    TOptionsDlg(QWidget *parent, TOptions &options, int shownZoom = 100);

    void accept() override;
    // Disables the controls of the keys the teacher locked, saying why.
    void lock(const TeacherRules &rules);

private:
    void applyEnablingRule();

    TOptions &m_options;
    QCheckBox *m_click = nullptr; // 101
    QCheckBox *m_showKeyb = nullptr; // 102
    QCheckBox *m_showNext = nullptr; // 103
    QRadioButton *m_typewriter = nullptr; // 105
    QRadioButton *m_electronic = nullptr; // 106
    QRadioButton *m_waitForKey = nullptr; // 108
    QRadioButton *m_goOn = nullptr; // 109
    QComboBox *m_zoom = nullptr; // 110
    QCheckBox *m_fullScreen = nullptr; // 111
    int m_shownZoom;
    TeacherRules m_rules;
};

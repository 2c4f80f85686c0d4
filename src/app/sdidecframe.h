#pragma once

#include <QMainWindow>

class LessonLibrary;
struct TOptions;

// The program's one main window: menus, status bar and one client, the title
// screen or a running lesson.
class SDIDecFrame : public QMainWindow
{
    Q_OBJECT

public:
    SDIDecFrame(const LessonLibrary &library, TOptions &options, QWidget *parent = nullptr);

    const LessonLibrary &library() const { return m_library; }
    TOptions &options() const { return m_options; }

private:
    const LessonLibrary &m_library;
    TOptions &m_options;
};

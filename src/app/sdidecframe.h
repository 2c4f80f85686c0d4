#pragma once

#include <QMainWindow>

class LessonLibrary;

// The program's one main window: menus, status bar and one client, the title
// screen or a running lesson.
class SDIDecFrame : public QMainWindow
{
    Q_OBJECT

public:
    explicit SDIDecFrame(const LessonLibrary &library, QWidget *parent = nullptr);

    const LessonLibrary &library() const { return m_library; }

private:
    const LessonLibrary &m_library;
};

#pragma once

#include <functional>

class QWidget;

// Help requests from every dialog's help button and the help command. The
// main window installs the viewer; until then a request does nothing.
namespace Help {

// Context numbers of the help pages.
enum Context : int {
    Contents = 0,
    LessonList = 530, // lesson list and single letter
    Letters = 540,
    TextList = 550,
    EndOfLesson = 565,
    Registration = 580,
    NewStudent = 590,
    Statistics = 600,
    Progress = 610, // "Postępy"
    ClassView = 620, // "Klasa"
    Options = 700,
};

using Handler = std::function<void(QWidget *parent, int context)>;
void setHandler(Handler handler);

void show(QWidget *parent, int context);

} // namespace Help

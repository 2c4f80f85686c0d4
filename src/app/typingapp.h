#pragma once

#include "app/commandline.h"
#include "lessons/lessonlibrary.h"
#include "settings/labsettings.h"
#include "settings/teacherrules.h"
#include "settings/toptions.h"

#include <memory>
#include <optional>

#include <QString>
#include <QStringList>

class SDIDecFrame;
class SingleInstance;

// The application object: the lesson library and the main window, built in
// the order the program starts in.
class TypingApp
{
public:
    explicit TypingApp(StartupOptions options);
    ~TypingApp();

    // Runs start-up. Returns 0 when the main window is up, or when another
    // running Palcomir was brought forward instead (then there is no main
    // window and the process ends); otherwise the process's exit status (the
    // learner has been told why).
    int start();

    SDIDecFrame *mainWindow() const { return m_frame.get(); }
    TOptions &options() { return m_settings; }

    // Writes the settings and the student list as at exit: on a normal end,
    // SIGTERM / SIGINT and the end of the desktop session alike.
    void saveAll();

private:
    bool m_settingsLoaded = false;
    StartupOptions m_options;
    TOptions m_settings;
    TeacherRules m_rules; // the teacher's [Nauczyciel] section
    LabSettings m_lab; // [Pracownia]: class mode
    std::optional<LessonLibrary> m_library;
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<SDIDecFrame> m_frame;
};

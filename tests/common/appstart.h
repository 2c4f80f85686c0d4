#pragma once

// Starts the whole program on a data folder, with the built lesson library,
// as the command line would; nothing when start-up did not bring up the window.

#include "app/typingapp.h"

#include <memory>

inline std::unique_ptr<TypingApp> startTypingApp(const QString &dataDir)
{
    StartupOptions options;
    options.libraryFile = QString::fromLocal8Bit(qgetenv("PALCOMIR_LIBRARY"));
    options.dataDir = dataDir;
    auto app = std::make_unique<TypingApp>(options);
    if (app->start() != 0 || !app->mainWindow())
        return nullptr;
    return app;
}

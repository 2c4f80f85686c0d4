#pragma once

#include <optional>

// The program's settings, one record for the whole run. Lessons, dialogs and
// the main window read and change the fields directly.
struct TOptions {
    bool ShowAfaterStart = true; // open the registration dialog right after start
    bool Click = true; // key sounds during a lesson
    bool ShowKeyb = true; // the keyboard picture under the text
    bool ShowNext = true; // mark the next key on it
    bool ShowHands = true; // kept in the file, used by nothing
    int StudentNo = -1; // current student's index, -1 = nobody
    int Type = 0; // sound set: 0 typewriter, 1 electronic
    int ErrorType = 0; // 0 wait for the correct key, 1 accept errors
    // [Widok]: written only once chosen, so a teacher's file decides until then.
    int Zoom = 0; // percent, one of the zoom steps; 0 = as the screen suggests
    std::optional<bool> FullScreen; // nothing = not chosen (a window)
};

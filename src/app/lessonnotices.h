#pragma once

#include <optional>
#include <string>

// What the status bar tells beside a lesson's figures, and what a key event
// tells about the lock keys where the system's own state cannot be read.
namespace lessonnotices {

// Caps Lock after a key that typed `typed` with or without Shift held: a
// letter in the case Shift did not ask for means it is on, a letter in the
// asked-for case that it is off; anything else tells nothing.
std::optional<bool> capsLockFrom(char32_t typed, bool shiftHeld);

// Num Lock after a key of the numeric keypad: a digit means it is on, one of
// the cursor keys that the digit keys give without it means it is off.
std::optional<bool> numLockFrom(char32_t typed, bool cursorKey);

struct LessonState {
    bool running = false; // a lesson is the client
    bool paused = false;
    bool keypadDrill = false;
    std::optional<bool> capsLock; // nothing: not known
    std::optional<bool> numLock;
};

// The notice for the state (UTF-8), empty when there is nothing to say.
// Caps Lock is the usual cause of a sudden run of errors; a keypad drill
// cannot be typed on the keypad without Num Lock.
std::string noticeText(const LessonState &state);

} // namespace lessonnotices

#pragma once

// The zoom steps the program is shown at. The window's layout is 640 x 480
// pixels; a step draws it, its dialogs and its pictures that many percent of
// that size.
namespace ZoomSteps {

// In percent; the first is the layout's own size.
inline constexpr int kSteps[] = { 100, 125, 150, 175, 200 };
inline constexpr int kLayoutWidth = 640;
inline constexpr int kLayoutHeight = 480;

// A stored percentage as a step: the nearest one for a number within the
// steps' range, 0 (no choice: follow the screen) for anything else.
int stepFor(int percent);
// The step after or before a step (the same one at either end).
int nextStep(int percent);
int previousStep(int percent);

// The largest step at which the whole window fits in a width x height area
// (at least the first).
int largestFitting(int width, int height);
// The step a screen with that much room starts at: the largest at which the
// window fits in three quarters of the height (and in the width). 150 % on
// 1920 x 1080, 100 % on 1024 x 768 and smaller.
int stepForScreen(int width, int height);

} // namespace ZoomSteps

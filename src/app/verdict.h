#pragma once

#include <string>

// What the learner is told when a lesson ends, worded for the learner's sex.
// Texts are UTF-8. Speed and accuracy are judged as the learner reads them,
// rounded to one decimal: 97.98 is shown as 98.0 and judged good. Only a
// lesson without a single error is praised as one, though it may show 100.0.

// A value rounded to one decimal exactly as the message prints it.
double asShown(float value);

// Whether the verdict on this accuracy advises repeating the lesson.
bool advisesRepeat(float accuracy);

std::string accuracyVerdict(float accuracy, bool masculine);
std::string speedVerdict(float speed);

// The whole message; a suggested lesson ends with the question about the next one.
std::string verdictText(float speed, float accuracy, bool masculine, bool suggested);

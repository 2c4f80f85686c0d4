#pragma once

#include <string>

// What the learner is told when a lesson ends, worded for the learner's sex.
// Texts are UTF-8. Speed and accuracy are compared as the single-precision
// values the lesson stored.

std::string accuracyVerdict(float accuracy, bool masculine);
std::string speedVerdict(float speed);

// The whole message; a suggested lesson ends with the question about the next one.
std::string verdictText(float speed, float accuracy, bool masculine, bool suggested);

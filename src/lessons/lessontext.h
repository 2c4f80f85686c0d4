#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

class LessonLibrary;

// A lesson text as the typing engine walks it: the instruction, the exercise
// lines (body) with their CR LF separators, and the reading positions.
struct LessonText {
    std::optional<std::string> Instruction; // none for generated exercises
    int PlusMark = 0; // 1 when the stored text began with "+"
    std::string body; // exactly as stored; body.c_str() ends with a zero
    int lineCount = 0;
    std::size_t expectedPos = 0; // next character to type
    std::size_t topLinePos = 0; // first line shown on screen
    unsigned char expectedChar = 0;

    // Installs a body and puts every position at its start.
    void setBody(std::string newBody);
};

// 1 + the number of carriage returns after the body's first byte, so a body
// that ends with CR LF counts one more (empty) line.
int countLessonLines(std::string_view body);

// Splits stored bytes into plus mark, instruction and body. False for a text
// without any carriage return, which is no lesson text.
bool parseLessonText(std::string_view stored, LessonText &text);

// Loads a stored text by number; false when the library has none.
bool loadStoredText(const LessonLibrary &library, int number, LessonText &text);

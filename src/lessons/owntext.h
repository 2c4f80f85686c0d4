#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// An own-text lesson reads at most this much of a file: 100 exercise lines
// never need more, and a huge file must not fill the memory.
inline constexpr std::size_t kOwnTextReadLimit = 4 * 1024 * 1024;
inline constexpr int kOwnTextMaxLines = 100;
inline constexpr std::size_t kOwnTextLineLength = 70;
// A file line longer than this is taken in pieces, each a line of its own.
inline constexpr std::size_t kOwnTextPieceLength = 4095;

// The exercise lines made from a text file: each ends with CR LF.
struct OwnText {
    std::string body;
    int lineCount = 0;
};

// Cuts the bytes of a text file (Windows-1250) into exercise lines of at
// most 70 characters, broken at the last blank where there is one. Line
// ends may be LF, CR LF or a lone CR. Empty and all-blank lines are
// skipped; at most 100 lines are made. Only characters a lesson can take
// are kept: a tab becomes a blank, typographic quotes, dashes, the
// ellipsis and the no-break space become their plain keyboard forms, and
// anything else that no key gives (control characters, NUL) is dropped.
OwnText cutOwnText(std::string_view fileBytes);

#pragma once

#include <cstddef>
#include <optional>
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

// The text of a file in Windows-1250, whatever editor saved it: a file with a
// UTF-16 byte-order mark is read as UTF-16, a file that is valid UTF-8 (with
// or without its mark) as UTF-8, anything else as Windows-1250 already. A
// character the code page lacks becomes its plain form where it has one
// (dashes, primes, thin spaces) and is dropped otherwise. Nothing when the
// bytes are no text at all: a NUL character, or more control characters than
// a text ever holds. A multi-byte character cut off at the end (a file read
// only in part) is left out rather than taken for a sign of another encoding.
std::optional<std::string> ownTextToCp1250(std::string_view fileBytes);

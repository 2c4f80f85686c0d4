#pragma once

// Small helpers shared by the tests.

#include "text/cp1250.h"
#include "lessons/lessonlibrary.h"

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include <QtTest>

// Windows-1250 bytes of a UTF-8 literal, so tests can write Polish text as it reads.
inline std::string W(const char *utf8)
{
    return cp1250::fromUtf8(utf8);
}

// Lesson text bytes from readable lines: "\n" becomes CR LF.
inline std::string crlf(const char *utf8)
{
    std::string out;
    for (char c : W(utf8)) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// The lesson library the build made.
inline const LessonLibrary &builtLibrary()
{
    static const std::optional<LessonLibrary> library = [] {
        const char *path = std::getenv("PALCOMIR_LIBRARY");
        if (!path)
            return std::optional<LessonLibrary>();
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return LessonLibrary::parse(bytes.str());
    }();
    if (!library)
        qFatal("the built lesson library (PALCOMIR_LIBRARY) cannot be read");
    return *library;
}

// QCOMPARE-friendly view of bytes.
inline QByteArray bytes(std::string_view text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// A whole file's bytes, or "<unreadable>".
inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Writes a whole file; false when it could not be written.
inline bool writeAll(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

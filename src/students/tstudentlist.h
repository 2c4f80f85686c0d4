#pragma once

#include "students/tstudent.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Every registered student, in order of registration; a student's position is
// the index that StudentNo stores. Records stay at the same address while
// others are added or removed, so a running lesson may hold on to one.
//
// The file pisarz.sta (all integers little-endian):
//
//   ':'  stream version (uint32, 257)
//   header string "Stukomat 1.0 - StudentList\n\x1A"
//   N (uint32), N student records, N again, the header string again
//
// A string is a uint32 length and that many bytes (length FFFFFFFF = absent).
// A student record is the name string, Age, Male and NextLesson (int32 each),
// then 113 pairs of float32 Speed and Accuracy in StatChars order.
// Older files are read too: versions up to 256 store string lengths in one
// byte (255 = absent); a file without the leading ':' is version 0, where
// every integer also has 16 bits.
class TStudentList
{
public:
    static constexpr std::uint32_t kVersion = 257;
    static constexpr std::string_view kHeader = "Stukomat 1.0 - StudentList\n\x1A";

    enum class ReadOutcome {
        Complete, // every student and the trailer read
        Empty, // nothing in the file at all
        WrongHeader, // not a student list: no student read
        Truncated, // ends early or its trailer cannot be read: the complete records kept
        TrailerMismatch, // the trailer contradicts the header: nothing kept
    };
    struct ReadResult;

    TStudentList() = default;
    TStudentList(TStudentList &&) = default;
    TStudentList &operator=(TStudentList &&) = default;

    int count() const { return static_cast<int>(m_students.size()); }
    // Callers pass valid positions only.
    TStudent &at(int index) { return *m_students[static_cast<std::size_t>(index)]; }
    const TStudent &at(int index) const { return *m_students[static_cast<std::size_t>(index)]; }

    // Appends a copy; its position is the old count.
    void add(const TStudent &student);
    // The students behind it move one position forward.
    void remove(int index);

    // The file in the current version.
    std::string serialize() const;
    // One student's record as the file holds it.
    static std::string serializeRecord(const TStudent &student);
    static ReadResult parse(std::string_view bytes);

private:
    std::vector<std::unique_ptr<TStudent>> m_students;
};

struct TStudentList::ReadResult {
    TStudentList list;
    ReadOutcome outcome = ReadOutcome::Empty;

    // The file held more than the list shows: keep a copy before replacing it.
    bool damaged() const { return outcome != ReadOutcome::Complete && outcome != ReadOutcome::Empty; }
};

// StudentNo when it names a student of a list of count, otherwise -1 (every
// negative value too).
int validStudentNo(int studentNo, int count);

// StudentNo after the student at removed left the list: it keeps naming the
// same student, or nobody when that student was the one removed.
int studentNoAfterRemoval(int studentNo, int removed);

#pragma once

#include "students/tstudentlist.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// pisarz.sta has no room for who a pupil is, so the identities live beside
// it, in pisarz.sta.ids, written together with the list:
//
//   Palcomir ids 1
//   list <hash of pisarz.sta as written>
//   pupil <id> <hash of the pupil's record>      one per pupil, in list order
//   removed <id>                                 pupils removed from the list
//
// Hashes are 64-bit FNV-1a in hexadecimal; they tell whether the list is
// still the one written with these identities.
struct PupilIds {
    struct Pupil {
        std::string id;
        std::uint64_t recordHash = 0;
    };
    std::uint64_t listHash = 0;
    std::vector<Pupil> pupils;
    std::set<std::string> removed;

    std::string serialize() const;
    // Lines that cannot be read are passed over; nothing fails.
    static PupilIds parse(std::string_view text);
    // The identities of a list about to be written as listBytes.
    static PupilIds of(const TStudentList &list, std::string_view listBytes, std::set<std::string> removed);
};

std::uint64_t fnv1a(std::string_view bytes);

// Gives every student of `list`, read from listBytes, its identity. When the
// list is the one the identities were written with, each keeps the one at
// its position. Otherwise (edited, replaced, or the identities lost) a pupil
// takes a known identity only when its whole record is the one known, and
// anyone else is a new pupil: a name at an old position is never enough.
// An empty or missing list knows nobody.
void assignIds(
    TStudentList &list, std::string_view listBytes, const PupilIds &known, const std::function<std::string()> &newId);

#include "classroom/pupilids.h"

#include <charconv>
#include <sstream>

namespace {

constexpr std::string_view kFirstLine = "Palcomir ids 1";

std::string hex(std::uint64_t v)
{
    char buffer[17];
    const auto end = std::to_chars(buffer, buffer + 16, v, 16).ptr;
    return std::string(buffer, end);
}

bool unhex(std::string_view text, std::uint64_t &v)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v, 16);
    return error == std::errc() && end == text.data() + text.size();
}

// An identity is printable ASCII without spaces, so a line splits cleanly.
bool plausibleId(std::string_view id)
{
    if (id.empty() || id.size() > 64)
        return false;
    for (char c : id) {
        if (c <= ' ' || c > '~')
            return false;
    }
    return true;
}

} // namespace

std::uint64_t fnv1a(std::string_view bytes)
{
    std::uint64_t h = 14695981039346656037ULL;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ULL;
    }
    return h;
}

std::string PupilIds::serialize() const
{
    std::string out(kFirstLine);
    out += "\nlist " + hex(listHash) + "\n";
    for (const Pupil &p : pupils)
        out += "pupil " + p.id + " " + hex(p.recordHash) + "\n";
    for (const std::string &id : removed)
        out += "removed " + id + "\n";
    return out;
}

PupilIds PupilIds::parse(std::string_view text)
{
    PupilIds ids;
    std::istringstream in { std::string(text) };
    std::string line;
    if (!std::getline(in, line) || line != kFirstLine)
        return ids;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind, id, hash;
        words >> kind >> id >> hash;
        if (kind == "list") {
            unhex(id, ids.listHash);
        } else if (kind == "pupil" && plausibleId(id)) {
            Pupil p { id, 0 };
            if (unhex(hash, p.recordHash))
                ids.pupils.push_back(std::move(p));
        } else if (kind == "removed" && plausibleId(id)) {
            ids.removed.insert(id);
        }
    }
    return ids;
}

PupilIds PupilIds::of(const TStudentList &list, std::string_view listBytes, std::set<std::string> removed)
{
    PupilIds ids;
    ids.listHash = fnv1a(listBytes);
    for (int i = 0; i < list.count(); ++i)
        ids.pupils.push_back({ list.at(i).Id, fnv1a(TStudentList::serializeRecord(list.at(i))) });
    ids.removed = std::move(removed);
    return ids;
}

void assignIds(
    TStudentList &list, std::string_view listBytes, const PupilIds &known, const std::function<std::string()> &newId)
{
    const bool same
        = !listBytes.empty() && known.listHash == fnv1a(listBytes) && known.pupils.size() == std::size_t(list.count());
    std::set<std::string> taken;
    for (int i = 0; i < list.count(); ++i) {
        TStudent &student = list.at(i);
        student.Id.clear();
        if (same) {
            student.Id = known.pupils[std::size_t(i)].id;
        } else if (!listBytes.empty()) {
            const std::uint64_t record = fnv1a(TStudentList::serializeRecord(student));
            for (const PupilIds::Pupil &p : known.pupils) {
                if (p.recordHash == record && !taken.count(p.id) && !known.removed.count(p.id)) {
                    student.Id = p.id;
                    break;
                }
            }
        }
        // The same identity twice (a damaged file) would join two pupils.
        if (student.Id.empty() || !taken.insert(student.Id).second) {
            student.Id = newId();
            taken.insert(student.Id);
        }
    }
}

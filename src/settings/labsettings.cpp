#include "settings/labsettings.h"

#include "settings/inifile.h"

namespace {
constexpr std::string_view kSection = "Pracownia";
// Room for a connection string with every key a school may need.
constexpr std::size_t kValueBuffer = 2048;
} // namespace

LabSettings loadLabSettings(const std::vector<const IniFile *> &files)
{
    for (const IniFile *file : files) {
        const std::string server = file->getString(kSection, "Serwer", "", kValueBuffer);
        if (!server.empty())
            return { server, file->getString(kSection, "Klasa", "", kValueBuffer) };
    }
    return {};
}

std::string connectionString(const std::string &server)
{
    return "sslmode=prefer connect_timeout=5 application_name=palcomir " + server;
}

#pragma once

#include <string>
#include <vector>

class IniFile;

// Class mode: the lab's pupils and results live on the school's PostgreSQL.
//   [Pracownia]
//   Serwer=host=serwer.szkola dbname=palcomir user=palcomir_pc passfile=/etc/palcomir/pgpass
//   Klasa=3b
// Serwer is a libpq connection string (key=value pairs); Klasa the class
// whose pupils this computer shows.
struct LabSettings {
    std::string server;
    std::string className;

    bool classMode() const { return !server.empty(); }
};

// The first file that names a server gives both keys, so a teacher's system
// file decides for every account; the files come most important first.
LabSettings loadLabSettings(const std::vector<const IniFile *> &files);

// The connection string the program opens: the school's own, after what it
// leaves out: TLS when the server offers it, a short wait for an absent server
// and the program's name in the server's list of sessions. Later keys win in
// libpq, so whatever the school wrote stands.
std::string connectionString(const std::string &server);

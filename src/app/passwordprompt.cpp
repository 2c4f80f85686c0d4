#include "app/passwordprompt.h"

#include "settings/passwordhash.h"

#include <optional>
#include <string>

#include <termios.h>
#include <unistd.h>

namespace {

// One line of in, its end taken off; echo is off while it is typed at a terminal.
std::optional<std::string> readHidden(std::FILE *in, std::FILE *err, const char *prompt)
{
    std::fputs(prompt, err);
    std::fflush(err);
    const int fd = fileno(in);
    termios before {};
    const bool terminal = isatty(fd) && tcgetattr(fd, &before) == 0;
    if (terminal) {
        termios quiet = before;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(fd, TCSAFLUSH, &quiet);
    }
    std::string line;
    int c = 0;
    while ((c = std::fgetc(in)) != EOF && c != '\n')
        line.push_back(static_cast<char>(c));
    if (terminal) {
        tcsetattr(fd, TCSAFLUSH, &before);
        std::fputc('\n', err);
    }
    if (c == EOF && line.empty())
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

} // namespace

int printTeacherPassword(std::FILE *in, std::FILE *out, std::FILE *err)
{
    const std::optional<std::string> first = readHidden(in, err, "Hasło nauczyciela: ");
    const std::optional<std::string> second = first ? readHidden(in, err, "Powtórz hasło: ") : std::nullopt;
    if (!first || !second) {
        std::fputs("Nie wczytano hasła.\n", err);
        return 1;
    }
    if (first->empty()) {
        std::fputs("Hasło nie może być puste.\n", err);
        return 1;
    }
    if (*first != *second) {
        std::fputs("Hasła się różnią. Spróbuj jeszcze raz.\n", err);
        return 1;
    }
    const std::string hash = PasswordHash::make(*first);
    if (hash.empty()) {
        std::fputs("Nie udało się zapisać hasła (brak pamięci).\n", err);
        return 1;
    }
    std::fprintf(out, "Haslo=%s\n", hash.c_str());
    std::fputs("Wklej ten wiersz do sekcji [Nauczyciel] pliku /etc/xdg/palcomir/pisarz.ini.\n", err);
    return 0;
}

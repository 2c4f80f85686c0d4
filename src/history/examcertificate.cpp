#include "history/examcertificate.h"

#include "history/classcsv.h"

#include <optional>

namespace {

std::string escaped(const std::string &text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string figure(double value)
{
    return decimalComma(std::optional<double>(value));
}

std::string row(const std::string &label, const std::string &value)
{
    return "<tr><td>" + escaped(label) + "</td><td><b>" + escaped(value) + "</b></td></tr>\n";
}

} // namespace

std::string examVerdict(const ExamResult &r)
{
    std::string text = "Szybkość: " + figure(r.speed) + " znaków/min (wymagane " + std::to_string(r.passSpeed)
        + ").\nPoprawność: " + figure(r.accuracy) + "% (wymagane " + std::to_string(r.passAccuracy) + "%).\n\n";
    if (r.passed)
        text += r.masculine ? "Gratulacje! Zaliczyłeś sprawdzian." : "Gratulacje! Zaliczyłaś sprawdzian.";
    else
        text += r.masculine ? "Tym razem nie zaliczyłeś sprawdzianu. Poćwicz i spróbuj jeszcze raz."
                            : "Tym razem nie zaliczyłaś sprawdzianu. Poćwicz i spróbuj jeszcze raz.";
    return text;
}

std::string certificateHtml(const ExamResult &r)
{
    std::string html = "<html><body>\n<h1 align=\"center\">Świadectwo</h1>\n"
                       "<h3 align=\"center\">sprawdzian pisania bezwzrokowego na klawiaturze</h3>\n<br>\n"
                       "<table cellpadding=\"6\">\n";
    html += row(r.masculine ? "Uczeń:" : "Uczennica:", r.pupil);
    if (!r.className.empty())
        html += row("Klasa:", r.className);
    html += row("Data:", r.date);
    html += row("Tekst:", r.text);
    html += row("Czas:", std::to_string(r.minutes) + " min");
    html += row("Szybkość:", figure(r.speed) + " znaków/min (wymagane " + std::to_string(r.passSpeed) + ")");
    html += row("Poprawność:", figure(r.accuracy) + "% (wymagane " + std::to_string(r.passAccuracy) + "%)");
    html += row("Wynik:", r.passed ? "Zaliczony" : "Niezaliczony");
    html += "</table>\n<br><br><br>\n<p align=\"right\">.......................................<br>"
            "podpis nauczyciela</p>\n</body></html>\n";
    return html;
}

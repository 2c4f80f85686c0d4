#include "app/verdict.h"

#include "lessons/numberformat.h"

#include <charconv>

double asShown(float value)
{
    const std::string text = formatFixed1(value, 0);
    double shown = value;
    std::from_chars(text.data(), text.data() + text.size(), shown);
    return shown;
}

bool advisesRepeat(float accuracy)
{
    return asShown(accuracy) < 98.0;
}

std::string accuracyVerdict(float accuracy, bool masculine)
{
    const double shown = asShown(accuracy);
    if (shown < 95.0)
        return masculine ? "Niezbyt dobrze. Popełniłeś zdecydowanie za dużo błędów! Powinieneś powtórzyć tę lekcję."
                         : "Niezbyt dobrze. Popełniłaś zdecydowanie za dużo błędów! Powinnaś powtórzyć tę lekcję.";
    if (shown < 98.0)
        return "Za dużo błędów. Lepiej powtórz tę lekcję";
    if (accuracy < 100.0F)
        return "Poprawność jest dobra.";
    return masculine ? "Brawo! Nie zrobiłeś żadnego błędu." : "Brawo! Nie zrobiłaś żadnego błędu.";
}

std::string speedVerdict(float speed)
{
    const double shown = asShown(speed);
    if (shown < 80.0)
        return "Dużo za wolno.";
    if (shown < 100.0)
        return "Trochę za wolno.";
    if (shown < 120.0)
        return "Prędkość jest dobra.";
    if (shown < 200.0)
        return "Prędkość jest bardzo dobra.";
    return "Prędkość jest fenomenalna.";
}

std::string verdictText(float speed, float accuracy, bool masculine, bool suggested)
{
    std::string text = "Szybkość pisania wyniosła ";
    text += formatFixed1(speed, 5);
    text += " znaków/minutę, poprawność - ";
    text += formatFixed1(accuracy, 5);
    text += "%.\n";
    text += accuracyVerdict(accuracy, masculine);
    text += '\n';
    text += speedVerdict(speed);
    text += ' ';
    text += suggested ? "Czy chcesz rozpocząć kolejną lekcję?" : "";
    return text;
}

#include "app/verdict.h"

#include "lessons/numberformat.h"

std::string accuracyVerdict(float accuracy, bool masculine)
{
    if (accuracy < 95.0F)
        return masculine ? "Niezbyt dobrze. Popełniłeś zdecydowanie za dużo błędów! Powinieneś powtórzyć tę lekcję."
                         : "Niezbyt dobrze. Popełniłaś zdecydowanie za dużo błędów! Powinnaś powtórzyć tę lekcję.";
    if (accuracy < 98.0F)
        return "Za dużo błędów. Lepiej powtórz tę lekcję";
    if (accuracy < 100.0F)
        return "Poprawność jest dobra.";
    return masculine ? "Brawo! Nie zrobiłeś żadnego błędu." : "Brawo! Nie zrobiłaś żadnego błędu.";
}

std::string speedVerdict(float speed)
{
    if (speed < 80.0F)
        return "Dużo za wolno.";
    if (speed < 100.0F)
        return "Trochę za wolno.";
    if (speed < 120.0F)
        return "Prędkość jest dobra.";
    if (speed < 200.0F)
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

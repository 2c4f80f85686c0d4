#pragma once

#include <string>

// What an exam ("Sprawdzian") ended with, as the pupil is told it and as the
// certificate prints it. Texts are UTF-8.
struct ExamResult {
    std::string pupil;
    bool masculine = true;
    std::string className; // empty when not known
    std::string date; // as shown, e.g. "9.12.2026"
    std::string text; // the practical text's number and title
    int minutes = 0; // the time set
    double speed = 0; // characters a minute
    double accuracy = 0; // per cent
    int passSpeed = 0;
    int passAccuracy = 0;
    bool passed = false;
};

// The lines the pupil reads at the end of the exam, worded for the pupil's sex.
std::string examVerdict(const ExamResult &result);

// The certificate as a page of HTML, every text escaped: the heading, the
// pupil, class, date, text, time, results, pass marks, "Zaliczony" or
// "Niezaliczony", and a line for the teacher's signature.
std::string certificateHtml(const ExamResult &result);

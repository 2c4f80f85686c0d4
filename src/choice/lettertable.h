#pragma once

// The single-letter lessons: each letter (either case), digit and the two
// punctuation groups have a stored lesson numbered 1 to 47. Returns 0 for a
// character without one (a space, a semicolon, quotation marks ...).
int letterLessonNumber(unsigned char c);

#pragma once

#include <cstdio>

// palcomir --teacher-password: asks for the teacher's password twice (not
// shown while typed, when asked at a terminal), and prints the line to put
// in the [Nauczyciel] section of the system's pisarz.ini. Returns the exit
// status: 0, or 1 when the two differ, the password is empty or nothing
// could be read (told in Polish on err).
int printTeacherPassword(std::FILE *in, std::FILE *out, std::FILE *err);

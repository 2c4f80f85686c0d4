#pragma once

#include <string>
#include <string_view>

// The teacher's password as pisarz.ini keeps it: a slow, salted hash
// (Argon2id from libsodium) in one line of text, never the password itself.
namespace PasswordHash {

// The line to store for a password; empty when the library cannot hash it
// (out of memory).
std::string make(std::string_view password);

// Whether a password is the one a stored hash was made of. A damaged or
// empty hash lets no password through.
bool check(std::string_view hash, std::string_view password);

} // namespace PasswordHash

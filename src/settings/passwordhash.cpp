#include "settings/passwordhash.h"

#include <sodium.h>

namespace PasswordHash {
namespace {

bool ready()
{
    static const bool initialised = sodium_init() >= 0;
    return initialised;
}

} // namespace

std::string make(std::string_view password)
{
    char hash[crypto_pwhash_STRBYTES];
    if (!ready()
        || crypto_pwhash_str(hash, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
               crypto_pwhash_MEMLIMIT_INTERACTIVE)
            != 0)
        return {};
    return hash;
}

bool check(std::string_view hash, std::string_view password)
{
    if (!ready() || hash.empty() || hash.size() >= crypto_pwhash_STRBYTES)
        return false;
    // The library wants the hash ended by a zero.
    const std::string stored(hash);
    return crypto_pwhash_str_verify(stored.c_str(), password.data(), password.size()) == 0;
}

} // namespace PasswordHash

// gif2bmp IN.gif OUT.bmp: decodes IN.gif as the program does and writes the
// picture as a Windows bitmap file. Writes nothing and exits 1 when the
// program would show no picture.

#include "images/gifdecoder.h"
#include "images/packeddib.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

int fail(const std::string &message)
{
    std::fprintf(stderr, "gif2bmp: %s\n", message.c_str());
    return 1;
}

// Writes through a temporary file beside the target, renamed over it only
// when every byte is written, so a failure never leaves half a file.
bool writeWhole(const std::filesystem::path &target, const std::vector<std::uint8_t> &bytes)
{
    std::filesystem::path temporary = target;
    temporary += ".tmp" + std::to_string(std::random_device {}());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: gif2bmp IN.gif OUT.bmp\n");
        return 2;
    }
    const std::string in = argv[1];
    std::ifstream file(in, std::ios::binary);
    if (!file)
        return fail(in + ": cannot be read");
    const std::vector<std::uint8_t> bytes { std::istreambuf_iterator<char>(file), {} };
    if (file.bad())
        return fail(in + ": cannot be read");

    const std::optional<PackedDib> dib = decodeGif(bytes);
    if (!dib)
        return fail(in + ": not a picture the program can show");
    if (!writeWhole(argv[2], bmpFileBytes(*dib)))
        return fail(std::string(argv[2]) + ": cannot be written");
    return 0;
}

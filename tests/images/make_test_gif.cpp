// make_test_gif OUT.gif: writes the picture tests' own resource picture.

#include "images/testpicture.h"

#include <cstdio>
#include <fstream>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_test_gif OUT.gif\n");
        return 2;
    }
    const std::vector<std::uint8_t> bytes = testPictureGif();
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return out.good() ? 0 : 1;
}

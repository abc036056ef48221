// The child of the crash test: writes one PNG crash-safely, and is killed somewhere on the way.
//   export_crash_child PAYLOAD TARGET
// Reads PAYLOAD whole, says "ready" on its standard output, then writes the bytes to TARGET
// with WriteFileAtomically and says "done". Exits 0 only when the write succeeded.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "export/atomic_write.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: export_crash_child PAYLOAD TARGET\n");
        return 2;
    }
    std::ifstream payload(argv[1], std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(payload)), {});
    if (bytes.empty()) {
        return 2;
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    const bool written = mirvane::WriteFileAtomically(argv[2], bytes);
    std::fputs(written ? "done\n" : "failed\n", stdout);
    return written ? 0 : 1;
}

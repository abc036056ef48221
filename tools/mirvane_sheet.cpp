// mirvane-sheet: the command-line companion that works on the same code as the window.
#include <QString>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "archive/catalog.h"
#include "platform/embedded_resources.h"

namespace {

constexpr const char* kUsage =
    "usage: mirvane-sheet list\n"
    "  list    one line per archive photograph: row, resource id, place, year, bytes\n";

int ListCatalog() {
    for (std::size_t row = 0; row < mirvane::archiveCatalog.size(); ++row) {
        const mirvane::ArchiveEntry& entry = mirvane::archiveCatalog[row];
        const auto bytes =
            mirvane::platform::FindEmbeddedResource(static_cast<std::uint16_t>(entry.resourceId));
        std::printf("%zu\t%u\t%s\t%d\t%zu\n", row, entry.resourceId,
                    QString::fromUtf16(entry.location).toUtf8().constData(), entry.year,
                    bytes ? bytes->size() : std::size_t{0});
    }
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "list") {
        return ListCatalog();
    }
    std::fputs(kUsage, stderr);
    return 2;
}

// libFuzzer target: any bytes as a pair file, through the header rules and the whole import,
// decoders included. Every input must be refused or imported cleanly, within the caps.
#include <unistd.h>

#include <QString>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "pairs/pair_header.h"
#include "pairs/pair_import.h"

namespace {

QString FuzzFilePath() {
    static const QString path =
        QStringLiteral("/tmp/mirvane-fuzz-%1.qmp").arg(static_cast<qint64>(::getpid()));
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)mirvane::ParsePairHeader(std::span(data, size));

    const QString path = FuzzFilePath();
    std::FILE* file = std::fopen(path.toLocal8Bit().constData(), "wb");
    if (file == nullptr) {
        return 0;
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    std::fclose(file);
    if (written) {
        const std::vector<QString> paths = {path};
        const auto sheet = mirvane::ImportPairFiles(paths);
        if (sheet && (sheet->frames.size() != 2 || sheet->frames[0].year > sheet->frames[1].year)) {
            __builtin_trap();
        }
    }
    std::remove(path.toLocal8Bit().constData());
    return 0;
}

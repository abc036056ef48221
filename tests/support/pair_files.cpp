#include "support/pair_files.h"

#include <QFile>

#include "support/test_images.h"

namespace mirvane::testing {

Bytes PairHeaderBytes(const PairHeaderFields& fields) {
    Bytes bytes;
    for (std::uint32_t value : {fields.magic, fields.version, fields.firstYear, fields.secondYear,
                                fields.firstSize, fields.secondSize}) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }
    return bytes;
}

Bytes PairFile(std::uint32_t firstYear, const Bytes& first, std::uint32_t secondYear,
               const Bytes& second) {
    Bytes file = PairHeaderBytes({.firstYear = firstYear,
                                  .secondYear = secondYear,
                                  .firstSize = std::uint32_t(first.size()),
                                  .secondSize = std::uint32_t(second.size())});
    file.insert(file.end(), first.begin(), first.end());
    file.insert(file.end(), second.begin(), second.end());
    return file;
}

bool WriteGreyPair(const QString& path, std::uint32_t firstYear, std::uint32_t secondYear) {
    return WriteBytes(path,
                      PairFile(firstYear, FlatGreyJpeg(40, 30), secondYear, FlatGreyJpeg(30, 40)));
}

bool WriteBytes(const QString& path, const Bytes& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) ==
               qint64(bytes.size());
}

Bytes ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray all = file.readAll();
    return Bytes(all.begin(), all.end());
}

}  // namespace mirvane::testing

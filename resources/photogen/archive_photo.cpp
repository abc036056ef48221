#include "archive_photo.h"

#include <QByteArrayView>
#include <QCryptographicHash>
#include <stdexcept>

#include "atomic_file.h"
#include "jpeg_writer.h"
#include "places.h"

namespace mirvane::photogen {

std::string WriteArchivePhoto(const PhotoPlan& plan, const std::filesystem::path& dir,
                              Raster& scratch) {
    scratch.width = plan.width;
    scratch.height = plan.height;
    switch (plan.place) {
        case 0:
            DrawAralSea(plan.year, plan.grain, scratch);
            break;
        case 1:
            DrawColumbiaGlacier(plan.year, plan.grain, scratch);
            break;
        case 2:
            DrawLakePowell(plan.year, plan.grain, scratch);
            break;
        default:
            throw std::logic_error("no scene for place " + std::to_string(plan.place));
    }
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(scratch, plan.jpeg);
    WriteFileAtomically(dir / ("photo_" + std::to_string(plan.id) + ".jpg"), jpeg);
    const QByteArray digest =
        QCryptographicHash::hash(QByteArrayView(jpeg.data(), static_cast<qsizetype>(jpeg.size())),
                                 QCryptographicHash::Sha256);
    return digest.toHex().toStdString();
}

}  // namespace mirvane::photogen

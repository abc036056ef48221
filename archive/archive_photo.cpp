#include "archive/archive_photo.h"

namespace mirvane {

Bytes LoadArchivePhoto(const ArchiveEntry& row, const ResourceLookup& lookup) {
    const std::optional<platform::ByteView> resource =
        lookup(static_cast<std::uint16_t>(row.resourceId & 0xffffu));
    if (!resource || resource->data() == nullptr || resource->size() > kMaxPhotoBytes) {
        return {};
    }
    return Bytes(resource->begin(), resource->end());
}

}  // namespace mirvane

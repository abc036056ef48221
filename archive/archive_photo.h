// Copies one archive photograph out of the program's embedded resources.
#pragma once

#include <functional>

#include "archive/bytes.h"
#include "archive/catalog.h"
#include "archive/photo_limits.h"
#include "platform/embedded_resources.h"

namespace mirvane {

// Finds an embedded resource by id; tests give missing and oversized ones.
using ResourceLookup = std::function<std::optional<platform::ByteView>(std::uint16_t id)>;

// A copy of the row's photograph, or an empty buffer when its resource is missing or larger
// than kMaxPhotoBytes. Says nothing itself: the decoder refuses the empty buffer.
Bytes LoadArchivePhoto(const ArchiveEntry& row,
                       const ResourceLookup& lookup = platform::FindEmbeddedResource);

}  // namespace mirvane

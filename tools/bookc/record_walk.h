// Walking stored records (lesson or index) the way the reader does, for writing them back.
#pragma once
#include <cstdint>
#include <string>

#include "content/resource.h"

// Calls visit(record, padded) for each record of `records` that `next` (nextLessonRecord or
// nextSectionRecord) reads, in order. `padded` is `records` with the kExpandPadding zeros an
// expansion ends with, so that no read leaves it; record offsets index into it.
template <typename Record, typename Visit>
void WalkRecords(const std::string& records, bool (*next)(const uint8_t*, uint32_t*, Record*),
                 Visit visit) {
    std::string padded = records;
    padded.append(kExpandPadding, '\0');
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(padded.data());
    uint32_t pos = 0;
    Record r;
    while (pos < records.size() && next(bytes, &pos, &r))
        visit(r, padded);
}

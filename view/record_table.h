// A table of plain records with room for one record past its capacity (kept zeroed as the
// end mark), grown a step at a time: the reading view's line table and the outline's rows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/memory.h"

// Records a table grows by at a time.
constexpr int kRecordTableStep = 128;

// Makes `records` a table of `initial` records and the end mark, the mark zeroed, when
// 0 < initial <= limit; `alloc` gives the memory (plainAlloc, or checkedAlloc where its loss
// stops the reader). Leaves both untouched otherwise or when memory is short.
template <typename Record>
void makeRecordTable(Record*& records, uint16_t& capacity, int initial, int limit,
                     void* (*alloc)(size_t)) {
    if (initial <= 0 || initial > limit) return;
    auto* made = static_cast<Record*>(alloc((size_t(initial) + 1) * sizeof(Record)));
    if (!made) return;
    std::memset(made, 0, sizeof(Record));
    records = made;
    capacity = uint16_t(initial);
}

// Grows the table by kRecordTableStep records, keeping the `capacity` records it holds. False,
// with record `index` zeroed as the table's end, when that would pass `limit` or memory is
// short (the table unchanged otherwise).
template <typename Record>
bool growRecordTable(Record*& records, uint16_t& capacity, int index, int limit,
                     void* (*alloc)(size_t)) {
    int grownCapacity = capacity + kRecordTableStep;
    auto* grown = grownCapacity <= limit
                      ? static_cast<Record*>(alloc((size_t(grownCapacity) + 1) * sizeof(Record)))
                      : nullptr;
    if (!grown) {
        std::memset(&records[index], 0, sizeof(Record));
        return false;
    }
    std::memcpy(grown, records, size_t(capacity) * sizeof(Record));
    plainFree(records);
    records = grown;
    capacity = uint16_t(grownCapacity);
    return true;
}

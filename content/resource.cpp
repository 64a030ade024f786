#include "content/resource.h"

#include <algorithm>
#include <cstring>

#include "content/expand_bulk.h"
#include "platform/memory.h"
#include "platform/message_box.h"
#include "platform/resources.h"

namespace {
void setError(int* errorOut, int code) {
    if (errorOut) *errorOut = code;
}
uint16_t readBe16(const uint8_t* p) {
    return uint16_t(p[0] << 8 | p[1]);
}
} // namespace

uint8_t* LoadBookResource(int number, int* errorOut) {
    if (number - 1 < 0) return nullptr;
    uint16_t id = bookResourceId(number);
    ResourceHandle resource = findResource(kRawDataResource, id);
    if (!resource) {
        setError(errorOut, ResourceNotFound);
        return nullptr;
    }
    uint32_t size = resourceSize(resource);
    const uint8_t* bytes = size ? loadResource(resource) : nullptr;
    if (!bytes) {
        setError(errorOut, ResourceUnavailable);
        return nullptr;
    }
    return expandResource(bytes, size, errorOut);
}

uint8_t* expandResource(const uint8_t* bytes, uint32_t size, int* errorOut) {
    // The prefix and record header must be there, and the packed data must lie inside the
    // resource, whatever its header claims.
    if (size < 10 || size - 10 < readBe16(bytes + 6)) {
        setError(errorOut, BadRecordHeader);
        return nullptr;
    }
    return OpenCompressedRecord(bytes + 6, readBe16(bytes), errorOut);
}

uint8_t* OpenCompressedRecord(const uint8_t* record, uint16_t outerLength, int* errorOut) {
    if (outerLength < 5) {
        setError(errorOut, BadRecordHeader);
        return nullptr;
    }
    uint16_t packedLength = readBe16(record);
    if (packedLength == 0) {
        setError(errorOut, BadRecordHeader);
        return nullptr;
    }
    CompressedDescriptor descriptor{record + 4, packedLength, readBe16(record + 2)};
    return UnCompress(&descriptor, errorOut);
}

uint8_t* UnCompress(const CompressedDescriptor* descriptor, int* errorOut) {
    if (!descriptor || descriptor->plainLength == 0 || !descriptor->source) {
        setError(errorOut, BadDescriptor);
        return nullptr;
    }
    uint8_t* buffer = static_cast<uint8_t*>(plainAlloc(descriptor->plainLength + kExpandPadding));
    if (!buffer) {
        setError(errorOut, ResourceUnavailable);
        return nullptr;
    }
    uint8_t* out = buffer;
    uint8_t* const outEnd = buffer + descriptor->plainLength;
    const uint8_t* src = descriptor->source;
    const uint8_t* const srcEnd = src + descriptor->sourceLength;
    bool bad = !expandBulk(buffer, out, outEnd, src, srcEnd);

    // The last tokens, each cut where the output ends.
    while (!bad && out < outEnd && src < srcEnd) {
        uint8_t c = *src++;
        if (c >= 0x01 && c <= 0x08) {
            // A literal run, cut where the output ends; the bytes it needs must be there.
            size_t n = std::min<size_t>(c, size_t(outEnd - out));
            if (size_t(srcEnd - src) < n) {
                bad = true;
                break;
            }
            std::memcpy(out, src, n);
            out += n;
            src += n;
        } else if (c < 0x80) {
            *out++ = c;
        } else if (c < 0xC0) {
            if (src >= srcEnd) {
                bad = true;
                break;
            }
            unsigned v = unsigned(c) << 8 | *src++;
            size_t distance = (v >> 3) & 0x7FF;
            if (distance == 0 || distance > size_t(out - buffer)) {
                bad = true;
                break;
            }
            size_t n = std::min<size_t>((v & 7) + 3, size_t(outEnd - out));
            const uint8_t* from = out - distance;
            if (distance >= n) {
                std::memcpy(out, from, n);
                out += n;
            } else {
                // An overlapping copy repeats the bytes it is writing, one at a time.
                for (size_t i = 0; i < n; ++i)
                    *out++ = from[i];
            }
        } else {
            *out++ = ' ';
            if (out < outEnd) *out++ = uint8_t(c ^ 0x80);
        }
    }

    if (bad || out != outEnd) {
        plainFree(buffer);
        showMessageBox(nullptr, u"UnCompress() buffer error!", nullptr, MessageBoxOk);
        setError(errorOut, BufferError);
        return nullptr;
    }
    std::memset(outEnd, 0, kExpandPadding);
    return buffer;
}

#include "state/registry_values.h"

#include <cstring>

#include "platform/memory.h"
#include "platform/registry.h"
#include "state/state.h"

int32_t readNumberValue(const char16_t* keyPath, const char16_t* name, int32_t defaultValue) {
    RegistryKey key = openRegistryKey(kCurrentUser, keyPath);
    if (!key) return defaultValue;
    uint32_t type = 0, size = 0;
    int32_t result = defaultValue;
    if (queryRegistryValue(key, name, &type, nullptr, &size) != RegistryOk) {
        closeRegistryKey(key);
        return defaultValue;
    }
    if (type == RegistryNumber) {
        uint32_t value = 0;
        size = sizeof value;
        if (queryRegistryValue(key, name, nullptr, reinterpret_cast<uint8_t*>(&value), &size) ==
            RegistryOk)
            result = int32_t(value);
        closeRegistryKey(key);
        return result;
    }
    // Twice the reported size, zeroed: the text always ends inside the buffer.
    size_t units = size;
    auto* text = static_cast<char16_t*>(checkedAlloc(units * sizeof(char16_t)));
    if (!text) {
        closeRegistryKey(key);
        return defaultValue;
    }
    std::memset(text, 0, units * sizeof(char16_t));
    if (queryRegistryValue(key, name, nullptr, reinterpret_cast<uint8_t*>(text), &size) ==
        RegistryOk) {
        // Decimal digits only, at most 32 bits: anything else is no number and reads as
        // missing, so that a damaged value cannot turn into an arbitrary one.
        uint64_t number = 0;
        size_t i = 0;
        for (; i < units && text[i] >= u'0' && text[i] <= u'9' && number <= 0xFFFFFFFFu; ++i)
            number = number * 10 + uint64_t(text[i] - u'0');
        if (i > 0 && (i == units || text[i] == 0) && number <= 0xFFFFFFFFu)
            result = int32_t(uint32_t(number));
    }
    plainFree(text);
    closeRegistryKey(key);
    return result;
}

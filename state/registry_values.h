// Reading settings values from the registry.
#pragma once
#include <cstdint>

// The maker-wide key, shared by all of the maker's readers; this program only reads it.
inline constexpr char16_t kMakerKey[] = u"software\\Quillmere";

// Value `name` of the key at `keyPath` (both zero-terminated UTF-16, under HKEY_CURRENT_USER)
// as a signed 32-bit number. A 32-bit number value is returned as it is; a value of any other
// type is read as 16-bit text up to the first 0, which must be a decimal number from 0 to
// 4294967295 (taken as its 32 bits), so "25" gives 25. Returns `defaultValue` when the key or
// value is missing or cannot be read, when the text is empty or not such a number ("-1",
// "1a", "abc"), and when the text buffer cannot be allocated (checkedAlloc has then told the
// user and started the shut-down).
int32_t readNumberValue(const char16_t* keyPath, const char16_t* name, int32_t defaultValue);

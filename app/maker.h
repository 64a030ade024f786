// The maker's constants.
#pragma once

inline constexpr char16_t kMakerWebHost[] = u"www.quillmere.example";  // home page and updates
inline constexpr char16_t kMakerHomePage[] = u"www.quillmere.example"; // the About dialog's link
inline constexpr char16_t kProductPath[] = u"Quillmere/Versewell";     // maker/product, for updates
inline constexpr char16_t kProductVersion[] = u"1.84a";

// The maker's constants.
#pragma once

// VW_MAKER_HOST is the build's choice of the maker's web host (CMake's VW_MAKER_HOST, by default
// "www.quillmere.example"): the About dialog's link and Check For Updates open pages on it.
#define VW_WIDE(text) u"" text
inline constexpr char16_t kMakerWebHost[] = VW_WIDE(VW_MAKER_HOST);  // home page and updates
inline constexpr char16_t kMakerHomePage[] = VW_WIDE(VW_MAKER_HOST); // the About dialog's link
inline constexpr char16_t kProductPath[] = u"Quillmere/Versewell";   // maker/product, for updates
// VW_VERSION is the product's version, from CMake (VW_VERSION): About, the update address,
// `versewell --version`, the AppStream entry and the manual pages all show it.
inline constexpr char16_t kProductVersion[] = VW_WIDE(VW_VERSION);

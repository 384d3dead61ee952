// Artist and title of a song, split out of its file name.
#pragma once
#include <string>
#include <string_view>

namespace kelvorn {

struct DisplayName {
    std::string artist;
    std::string title;
};

// Cuts the player's file name down to the display name: drops the first
// `prefixLength` characters (the music folder) and the extension, whatever its length.
// A name shorter than the prefix leaves `tmpstr` as it was.
void cutDisplayName(const std::string& fileName, size_t prefixLength, std::string& tmpstr);

// Splits at the first "-": artist before, title after, blanks around both removed and
// one leading "-" of the title dropped; without a "-" both are the whole name.
DisplayName splitDisplayName(std::string_view name);

}  // namespace kelvorn

// SPDX-License-Identifier: GPL-3.0-or-later
// Artist and title of a song, split out of its file name.
#pragma once
#include <string>
#include <string_view>

#include "platform/media_player.h"

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

// What the main screen shows for the display name `name` (folders included): its file
// name split as above when that holds " - "; else the song's tags; else, for a song in a
// folder, the top folder (the song's own one, for an absolute path) as the artist and the
// file name as the title; else the file name split as above.
DisplayName songDisplay(std::string_view name, const SongTags& tags);

}  // namespace kelvorn

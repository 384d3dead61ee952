// SPDX-License-Identifier: GPL-3.0-or-later
// "Library.kvx": which files of the music folder are songs. Without the file the music
// folder's own MP3 files are, as ever.
#pragma once
#include <string>
#include <vector>

#include "platform/folder_listing.h"

namespace kelvorn {

struct LibrarySettings {
    bool subfolders = false;                  // the subfolders' songs too, at any depth
    std::vector<std::string> formats{"mp3"};  // song extensions, lower case, without the dot

    // The folder listing's rules for these settings.
    ListingRules listingRules() const;
};

// "KEY=value" lines: "subfolders=1" (or 0) and "formats=" extensions parted by blanks or
// commas, matched without regard to letter case. Keys in any letter case; blanks around
// keys and values, unknown keys and lines that say nothing usable are ignored.
LibrarySettings librarySettingsFrom(const std::vector<std::string>& lines);

// The settings of "Library.kvx" in `workDir` (found without regard to letter case); the
// defaults without the file.
LibrarySettings readLibrarySettings(const std::string& workDir);

}  // namespace kelvorn

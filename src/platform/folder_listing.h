// SPDX-License-Identifier: GPL-3.0-or-later
// Folder listing with the program's matching rules.
#pragma once
#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelvorn {

// What a listing takes: file names ending in one of `extensions` (".mp3"), matched
// without regard to letter case; with `subfolders`, the files of the subfolders at any
// depth too, as paths relative to the listed folder with "/" between the folders.
struct ListingRules {
    std::vector<std::string> extensions;
    bool subfolders = false;
};

// Names of the normal files matching `prefix` + "*" + an extension of `rules`, where
// `prefix` is a raw path prefix: the part up to its last '/' is the folder (the working
// folder when there is none), the rest must begin the name (of a file, or of a subfolder
// with `rules.subfolders`) in that folder. Hidden files and folders are left out; a link
// to a folder is followed, but no folder is listed twice (no loop); a subfolder that
// cannot be listed is left out. Names are returned with their bytes unchanged, in no
// particular order. A missing folder gives none, and `complete` (when given) tells
// whether the folder itself could be listed to its end. `counted` (when given) follows
// the number of names found, for another thread to read.
std::vector<std::string> listMatching(const std::string& prefix, const ListingRules& rules, bool* complete = nullptr,
                                      std::atomic<size_t>* counted = nullptr);

// True when `a` and `b` differ in the case of ASCII letters at most.
bool equalNoCase(std::string_view a, std::string_view b);

// Path of the regular file in `folder` whose name equals `name` without regard to
// letter case (the exact name wins when both exist); empty when there is none.
std::string findFileNoCase(const std::string& folder, std::string_view name);

// Where the program's file `name` in `folder` is read and written: an existing file of
// that name in any letter case (replaced under its own spelling rather than beside
// it), else the name in the folder. An empty folder is the working folder.
std::string settingsFilePath(const std::string& folder, std::string_view name);

// True when `path` names a regular file (after following links).
bool isNormalFile(const std::string& path);

}  // namespace kelvorn

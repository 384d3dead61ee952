// Folder listing with the program's matching rules.
#pragma once
#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelvorn {

// Names of the normal files matching `prefix` + "*" + `extension`, where `prefix`
// is a raw path prefix: the part up to its last '/' is the folder (the working
// folder when there is none), the rest must begin the file name. The extension
// (".mp3") and the name prefix match without regard to letter case. Hidden files,
// folders and subfolders' contents are left out. Names are returned as bare file
// names, bytes unchanged, in no particular order. A missing folder gives none, and
// `complete` (when given) tells whether the folder could be listed to its end.
// `counted` (when given) follows the number of names found, for another thread to read.
std::vector<std::string> listMatching(const std::string& prefix, std::string_view extension, bool* complete = nullptr,
                                      std::atomic<size_t>* counted = nullptr);

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

// SPDX-License-Identifier: GPL-3.0-or-later
// Folder listing with case-insensitive name matching; never throws.
#include "platform/folder_listing.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>

namespace kelvorn {

namespace fs = std::filesystem;

namespace {

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

namespace {

// Calls visit(name, entry) for every entry of the folder that is not hidden. False when
// the folder could not be listed to its end (missing, unreadable, a share gone away).
template <typename Visit>
bool forEachEntry(const fs::path& folder, Visit visit) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);  // an unreadable folder is an error
    const fs::directory_iterator end;
    while (!ec && it != end) {
        const fs::directory_entry& entry = *it;
        std::string name = entry.path().filename().native();
        if (!name.empty() && name[0] != '.') visit(std::move(name), entry);
        it.increment(ec);
    }
    return !ec;
}

// Calls visit(name) for every regular, non-hidden file of the folder.
template <typename Visit>
bool forEachNormalFile(const std::string& folder, Visit visit) {
    return forEachEntry(fs::path(folder), [&](std::string name, const fs::directory_entry& entry) {
        std::error_code typeError;
        if (entry.is_regular_file(typeError) && !typeError) visit(std::move(name));
    });
}

bool endsWithNoCase(std::string_view name, std::string_view end) {
    return name.size() >= end.size() && equalNoCase(name.substr(name.size() - end.size()), end);
}

// Where a folder is on its file system: a folder reached again (through a link) has
// the same one.
std::pair<dev_t, ino_t> folderId(const fs::path& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) return {0, 0};
    return {st.st_dev, st.st_ino};
}

}  // namespace

std::vector<std::string> listMatching(const std::string& prefix, const ListingRules& rules, bool* complete,
                                      std::atomic<size_t>* counted) {
    const auto slash = prefix.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : prefix.substr(0, slash + 1);
    const std::string_view namePrefix =
        slash == std::string::npos ? std::string_view(prefix) : std::string_view(prefix).substr(slash + 1);

    std::vector<std::string> names;
    std::set<std::pair<dev_t, ino_t>> seen{folderId(folder)};
    // Folders still to list: where they are, and the path of their names in the results.
    std::vector<std::pair<fs::path, std::string>> pending;
    const auto listFolder = [&](const fs::path& path, const std::string& relative, std::string_view mustBegin) {
        return forEachEntry(path, [&](std::string name, const fs::directory_entry& entry) {
            if (!equalNoCase(std::string_view(name).substr(0, mustBegin.size()), mustBegin)) return;
            std::error_code typeError;
            if (entry.is_regular_file(typeError)) {
                // prefix + "*" + extension: both ends must fit without overlapping.
                const bool matches = std::any_of(rules.extensions.begin(), rules.extensions.end(), [&](const auto& e) {
                    return name.size() >= mustBegin.size() + e.size() && endsWithNoCase(name, e);
                });
                if (!matches) return;
                names.push_back(relative + name);
                if (counted) counted->store(names.size(), std::memory_order_relaxed);
            } else if (rules.subfolders && entry.is_directory(typeError) &&
                       seen.insert(folderId(entry.path())).second) {
                pending.emplace_back(entry.path(), relative + name + "/");
            }
        });
    };
    const bool listed = listFolder(fs::path(folder), std::string(), namePrefix);
    while (!pending.empty()) {
        const auto [path, relative] = std::move(pending.back());
        pending.pop_back();
        listFolder(path, relative, {});  // a subfolder that cannot be listed gives what it gave
    }
    if (complete) *complete = listed;
    return names;
}

std::string findFileNoCase(const std::string& folder, std::string_view name) {
    if (name.empty()) return {};
    const bool here = folder.empty() || folder == ".";
    const std::string base = here ? std::string() : (folder.back() == '/' ? folder : folder + "/");

    std::string exact = base + std::string(name);
    if (isNormalFile(exact)) return exact;

    // Several names may differ only in case; take the smallest so the choice is stable.
    std::string found;
    forEachNormalFile(here ? std::string(".") : folder, [&](std::string candidate) {
        if (equalNoCase(candidate, name) && (found.empty() || candidate < found)) found = std::move(candidate);
    });
    return found.empty() ? std::string() : base + found;
}

std::string settingsFilePath(const std::string& folder, std::string_view name) {
    const bool here = folder.empty() || folder == ".";
    std::string found = findFileNoCase(here ? std::string(".") : folder, name);
    if (!found.empty()) return found;
    if (here) return std::string(name);
    return folder + (folder.back() == '/' ? "" : "/") + std::string(name);
}

bool isNormalFile(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    return fs::is_regular_file(fs::path(path), ec) && !ec;
}

}  // namespace kelvorn

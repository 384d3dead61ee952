// Folder listing with case-insensitive name matching; never throws.
#include "platform/folder_listing.h"

#include <filesystem>
#include <system_error>

namespace kelvorn {

namespace fs = std::filesystem;

namespace {

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

// Calls visit(name) for every regular, non-hidden file of the folder. False when the
// folder could not be listed to its end (missing, unreadable, a share gone away).
template <typename Visit>
bool forEachNormalFile(const std::string& folder, Visit visit) {
    std::error_code ec;
    fs::directory_iterator it(fs::path(folder), ec);  // an unreadable folder is an error
    const fs::directory_iterator end;
    while (!ec && it != end) {
        const fs::directory_entry& entry = *it;
        std::string name = entry.path().filename().native();
        std::error_code typeError;
        if (!name.empty() && name[0] != '.' && entry.is_regular_file(typeError) && !typeError) visit(std::move(name));
        it.increment(ec);
    }
    return !ec;
}

}  // namespace

std::vector<std::string> listMatching(const std::string& prefix, std::string_view extension, bool* complete,
                                      std::atomic<size_t>* counted) {
    const auto slash = prefix.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : prefix.substr(0, slash + 1);
    const std::string_view namePrefix =
        slash == std::string::npos ? std::string_view(prefix) : std::string_view(prefix).substr(slash + 1);

    std::vector<std::string> names;
    const bool listed = forEachNormalFile(folder, [&](std::string name) {
        // prefix + "*" + extension: both ends must fit without overlapping.
        if (name.size() < namePrefix.size() + extension.size()) return;
        const std::string_view n(name);
        if (!equalNoCase(n.substr(0, namePrefix.size()), namePrefix) ||
            !equalNoCase(n.substr(n.size() - extension.size()), extension))
            return;
        names.push_back(std::move(name));
        if (counted) counted->store(names.size(), std::memory_order_relaxed);
    });
    if (complete) *complete = listed;
    return names;
}

std::string findFileNoCase(const std::string& folder, std::string_view name) {
    if (name.empty()) return {};
    const bool here = folder.empty() || folder == ".";
    const std::string base = here ? std::string() : (folder.back() == '/' ? folder : folder + "/");

    const std::string exact = base + std::string(name);
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

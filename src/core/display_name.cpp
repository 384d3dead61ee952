// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/display_name.h"

#include "platform/name_text.h"

namespace kelvorn {

namespace {

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

void cutDisplayName(const std::string& fileName, size_t prefixLength, std::string& tmpstr) {
    if (fileName.size() < prefixLength) return;
    std::string rest = fileName.substr(prefixLength);
    rest.resize(rest.size() - extensionLength(rest));
    tmpstr = std::move(rest);
}

DisplayName splitDisplayName(std::string_view name) {
    const size_t dash = name.find('-');
    if (dash == std::string_view::npos) return {std::string(name), std::string(name)};
    DisplayName result;
    result.artist = std::string(trimBlanks(name.substr(0, dash)));
    std::string_view title = trimBlanks(name.substr(dash + 1));
    if (!title.empty() && title.front() == '-') title.remove_prefix(1);
    result.title = std::string(title);
    return result;
}

DisplayName songDisplay(std::string_view name, const SongTags& tags) {
    const size_t slash = name.rfind('/');
    const std::string_view file = slash == std::string_view::npos ? name : name.substr(slash + 1);
    if (file.find(" - ") != std::string_view::npos) return splitDisplayName(file);
    std::string_view folder;
    if (slash != std::string_view::npos) {
        const std::string_view folders = name.substr(0, slash);
        folder = name.front() == '/' ? folders.substr(folders.rfind('/') + 1) : folders.substr(0, folders.find('/'));
    }
    if (!tags.artist.empty() || !tags.title.empty()) {
        const std::string_view artist = !tags.artist.empty() ? std::string_view(tags.artist)
                                        : !folder.empty()    ? folder
                                                             : file;
        return {std::string(artist), tags.title.empty() ? std::string(file) : tags.title};
    }
    if (!folder.empty()) return {std::string(folder), std::string(file)};
    return splitDisplayName(file);
}

}  // namespace kelvorn

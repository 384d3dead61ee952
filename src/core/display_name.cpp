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

}  // namespace kelvorn

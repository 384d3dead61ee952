// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/library_settings.h"

#include <QByteArray>
#include <QByteArrayList>
#include <algorithm>

#include "platform/text_file.h"

namespace kelvorn {

namespace {

bool keyIs(std::string_view key, const char* name) {
    return QByteArray(key.data(), static_cast<qsizetype>(key.size())).toLower() == name;
}

// The extensions of a "formats" value; a leading dot is allowed. Nothing when one of them
// is no plain extension of letters and digits.
std::vector<std::string> formatsFrom(std::string_view value) {
    std::vector<std::string> formats;
    QByteArray text(value.data(), static_cast<qsizetype>(value.size()));
    text.replace(',', ' ');
    for (QByteArray format : text.simplified().split(' ')) {
        if (format.startsWith('.')) format.remove(0, 1);
        const bool plain = !format.isEmpty() && std::all_of(format.begin(), format.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        });
        if (!plain) return {};
        formats.push_back(format.toLower().toStdString());
    }
    return formats;
}

}  // namespace

ListingRules LibrarySettings::listingRules() const {
    ListingRules rules{{}, subfolders};
    for (const std::string& format : formats) rules.extensions.push_back("." + format);
    return rules;
}

LibrarySettings librarySettingsFrom(const std::vector<std::string>& lines) {
    LibrarySettings settings;
    for (const std::string& line : lines) {
        const std::optional<KeyValue> pair = keyValueLine(line);
        if (!pair) continue;
        if (keyIs(pair->key, "subfolders") && (pair->value == "0" || pair->value == "1")) {
            settings.subfolders = pair->value == "1";
        } else if (keyIs(pair->key, "formats")) {
            if (std::vector<std::string> formats = formatsFrom(pair->value); !formats.empty())
                settings.formats = std::move(formats);
        }
    }
    return settings;
}

LibrarySettings readLibrarySettings(const std::string& workDir) {
    std::vector<std::string> lines;
    const std::string path = findFileNoCase(workDir, "Library.kvx");
    if (!path.empty()) readLines(path, lines);
    return librarySettingsFrom(lines);
}

}  // namespace kelvorn

// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/alpha_search.h"

#include <algorithm>
#include <cstdint>

#include <QString>

#include "platform/name_text.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

namespace {

bool isAscii(const std::string& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// An all-ASCII name decodes to the same characters and upper-cases byte by byte, so it
// is searched without decoding: this keeps a search of a large archive within a few
// milliseconds. `text` is the typed text, itself all ASCII.
bool asciiKeyContains(const std::string& name, const std::string& text) {
    if (text.empty()) return true;  // the empty text occurs in every key, even an empty one
    const auto end = name.end() - static_cast<long>(extensionLength(name));
    return std::search(name.begin(), end, text.begin(), text.end(),
                       [](char k, char t) { return upperAscii(k) == t; }) != end;
}

bool decodedKeyContains(const std::string& name, const QString& text) {
    return entryText(name).toUpper().contains(text, Qt::CaseSensitive);
}

void storeResult(KelvornSERVICE& svc, int archiveIndex, const std::string& name) {
    const int k = svc.TmpCount + 1;
    const auto slot = static_cast<size_t>(k);
    if (svc.TmpSongs.size() <= slot) svc.TmpSongs.resize(slot + 1);
    if (svc.TmpIdx.size() <= slot) svc.TmpIdx.resize(slot + 1, 0);
    svc.TmpSongs[slot] = name;
    svc.TmpIdx[slot] = static_cast<int16_t>(archiveIndex);
    svc.TmpCount = static_cast<int16_t>(k);
}

}  // namespace

void AlphaSearch(KelvornSERVICE& svc, std::string text) {
    std::replace(text.begin(), text.end(), '_', ' ');
    svc.TmpCount = -1;

    const bool asciiText = isAscii(text);
    const QString decodedText = decodeName(text);
    static const std::string kNoEntry;
    // At most 32768 archive entries and 50001 result slots: every match has a slot and
    // TmpCount stays inside its 16-bit range.
    const int last = std::min<int>(svc.ArchiveCount, kSongSlots - 1);
    for (int i = 0; i <= last; ++i) {
        const std::string& name =
            static_cast<size_t>(i) < svc.ArchiveList.size() ? svc.ArchiveList[static_cast<size_t>(i)] : kNoEntry;
        bool found;
        if (isAscii(name)) {
            // A text with other characters cannot occur in an all-ASCII key.
            found = asciiText && asciiKeyContains(name, text);
        } else {
            found = decodedKeyContains(name, decodedText);
        }
        if (found) storeResult(svc, i, name);
    }
}

}  // namespace kelvorn

// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/list_paging.h"

#include <algorithm>

#include "platform/name_text.h"

namespace kelvorn {

namespace {

int clampPos(int pos) { return std::clamp(pos, -32768, kMaxListPos); }

// The letter a jump compares with: " " stands for an empty text, so that it never
// matches the "" of an empty entry.
QString startLetter(const QString& highlightedText) {
    const QString letter = letterOf(highlightedText);
    return letter.isEmpty() ? QStringLiteral(" ") : letter;
}

}  // namespace

int16_t normalisedPos(int pos) { return static_cast<int16_t>(std::clamp(pos, 0, kMaxListPos)); }

int firstPage() { return 0; }

int lastPage(int count) { return clampPos(count - (kListLines - 1)); }

int pageUp(int pos) { return clampPos(pos - kListLines); }

int pageDown(int pos, int count) {
    const int next = pos + kListLines;
    return clampPos(next > count ? count : next);
}

ListPage highlightUp(ListPage page) {
    if (page.butt < 1) {
        if (page.pos >= 1) --page.pos;
    } else {
        --page.butt;
    }
    return page;
}

ListPage highlightDown(ListPage page, int count) {
    if (page.butt >= kListLines - 1) {
        if (page.pos < count - (kListLines - 1)) page.pos = clampPos(page.pos + 1);
    } else {
        ++page.butt;
    }
    return page;
}

QString letterOf(const QString& text) {
    if (text.isEmpty()) return {};
    // One character, kept whole when it lies outside the basic plane.
    const qsizetype width = text.size() > 1 && text.at(0).isHighSurrogate() ? 2 : 1;
    return text.left(width).toUpper();
}

QString letterOfEntry(const std::string& entry) { return letterOf(decodeName(entry)); }

ListPage previousLetter(ListPage page, int count, const QString& highlightedText, const EntryAt& entry) {
    QString letter = startLetter(highlightedText);
    // From an empty line past the end, the search starts at the last entry.
    int p = std::min(page.pos + page.butt, count);
    while (p > 0 && letterOfEntry(entry(p)) == letter) --p;
    letter = startLetter(letterOfEntry(entry(p)));
    while (p > 0 && letterOfEntry(entry(p)) == letter) --p;
    if (p > 0) ++p;
    return {clampPos(p), 0};
}

ListPage nextLetter(ListPage page, int count, const QString& highlightedText, const EntryAt& entry) {
    const QString letter = startLetter(highlightedText);
    int p = page.pos + page.butt;
    while (p < count && letterOfEntry(entry(p)) == letter) ++p;
    if (p >= count) p = count - (kListLines - 1);  // the last page, also from past the end
    return {clampPos(p), 0};
}

QString lineText(const std::string& entry, bool cutExtension) {
    return cutExtension ? entryText(entry) : decodeName(entry);
}

}  // namespace kelvorn

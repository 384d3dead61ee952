// SPDX-License-Identifier: GPL-3.0-or-later
// The page arithmetic of the ten-line list browsers, free of widgets: every result
// stays inside the 16-bit position range whatever the count.
#pragma once
#include <QString>
#include <cstdint>
#include <functional>
#include <string>

namespace kelvorn {

constexpr int kListLines = 10;
constexpr int kMaxListPos = 32767;

// Entry `index` of the source list (empty outside it).
using EntryAt = std::function<const std::string&(int)>;

// The page: the list position on line 0 (AktListPos) and the highlighted line (aktbutt).
struct ListPage {
    int pos = 0;
    int butt = 0;
};

// The top of the page as FillList keeps it: never negative, never past 32767.
int16_t normalisedPos(int pos);

// "3", "9", "2", "8". `count` is the highest index (-1 when empty). The results may be
// negative; FillList (normalisedPos) turns that into 0.
int firstPage();
int lastPage(int count);
int pageUp(int pos);
int pageDown(int pos, int count);

// Highlight up and down on a page of ten lines; no wrap-around at either end. Down
// scrolls only while the page is not yet the last one (pos < count - 9).
ListPage highlightUp(ListPage page);
ListPage highlightDown(ListPage page, int count);

// The jump's letter: the upper-case first character of the decoded text, "" for "".
QString letterOf(const QString& text);
QString letterOfEntry(const std::string& entry);

// "1": to the first entry of the letter group before the highlighted one (0 when none);
// "7": to the first entry of the next group, or the last page when the search reaches
// the last entry. `highlightedText` is the text the highlighted line shows. From an
// empty line past the end both stay inside the list. The highlight goes to line 0.
ListPage previousLetter(ListPage page, int count, const QString& highlightedText, const EntryAt& entry);
ListPage nextLetter(ListPage page, int count, const QString& highlightedText, const EntryAt& entry);

// The text a line shows for an entry: without its last four characters (the extension),
// or, with `cutExtension` false, whole. An entry shorter than four characters is shown whole.
QString lineText(const std::string& entry, bool cutExtension = true);

}  // namespace kelvorn

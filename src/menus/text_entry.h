// SPDX-License-Identifier: GPL-3.0-or-later
// A text entry started from the lists menu: the alpha entry screen in front, and a
// nested wait until the user accepts or cancels.
#pragma once
#include <QString>

namespace kelvorn {

struct Services;
class Transitions;
class SearchMenu;
class AlphaInput;

// Wipes from the lists menu to the entry screen titled `title`, runs the entry and
// returns true when it was accepted (the text is in AlphaText). The entry screen is
// still shown when this returns; the caller goes on to the next screen. An entry
// cancelled by the clock, or overtaken by a later entry, counts as cancelled.
bool runTextEntry(Services& s, Transitions& transitions, SearchMenu& menu, AlphaInput& entry, const QString& title);

}  // namespace kelvorn

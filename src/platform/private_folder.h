// SPDX-License-Identifier: GPL-3.0-or-later
// Folders of the user's own, for what no other user may touch: the single instance's
// socket and lock, the alarm tone's file.
#pragma once
#include <QString>

namespace kelvorn {

// A folder only this user can enter: $XDG_RUNTIME_DIR, else "kelvorn-<uid>" in the
// temporary folder, else ~/.cache/kelvorn, each made with mode 0700 and taken only when
// it is a real folder of this user's that nobody else may enter - so nothing another user
// made can stop or redirect what is kept there. Empty (and `why` set) when there is none.
QString privateFolder(QString* why = nullptr);

}  // namespace kelvorn

// SPDX-License-Identifier: GPL-3.0-or-later
// File names and file contents are bytes; what is shown, searched or sorted is text.
#pragma once
#include <QString>
#include <string>
#include <string_view>

namespace kelvorn {

// The text of bytes: UTF-8, or Latin-1 where the bytes are not valid UTF-8.
QString decodeName(const std::string& bytes);

// The length of an entry's extension with its dot (4 for ".mp3", 5 for ".flac"): the
// last dot of its last part, followed by one to four letters and digits of which at
// least one is a letter. 0 when it has none ("Intro", "No. 5", "Vol.2").
size_t extensionLength(std::string_view entry);

// An entry as the lists show it: its text, folders included, without its extension.
QString entryText(const std::string& entry);

}  // namespace kelvorn

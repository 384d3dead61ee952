// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file text reading with the program's line rules (writing: atomic_file.h).
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvorn {

// Splits bytes into lines: a line ends at CR LF, at a CR alone or at an LF alone (Linux
// editors end lines with LF). A last line without a line end still counts; an empty
// input has no lines. Writers end every line with CR LF.
std::vector<std::string> splitLines(std::string_view bytes);

// The text without the blanks and tabs around it.
std::string_view trimmedBlanks(std::string_view text);

// A "KEY=value" line of a settings file: key and value without the blanks around them.
struct KeyValue {
    std::string_view key;
    std::string_view value;
};
// Nothing for a line without "=" or with an empty key.
std::optional<KeyValue> keyValueLine(std::string_view line);

// Reads a regular file whole. False (and whatever was read) when it cannot be
// opened or read; never loops on a failing read.
bool readFileBytes(const std::string& path, std::string& out);

// readFileBytes + splitLines. False when the file cannot be read.
bool readLines(const std::string& path, std::vector<std::string>& lines);

// First line of a file; false when the file is missing, unreadable or has no line.
bool readFirstLine(const std::string& path, std::string& line);

}  // namespace kelvorn

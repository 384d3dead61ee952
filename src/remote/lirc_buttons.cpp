// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/lirc_buttons.h"

#include <algorithm>
#include <cmath>

#include "platform/folder_listing.h"
#include "platform/lenient_number.h"
#include "platform/text_file.h"

namespace kelvorn {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isHex(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return hexValue(c) >= 0; });
}

// A key written as in Keys.kvx; nothing when it is neither a code 1..255 nor one character.
std::optional<std::string> keyFromText(std::string_view text) {
    const double value = leadingNumber(text);
    if (value != 0) {
        const double code = std::nearbyint(value);
        if (!(code >= 1 && code <= 255)) return std::nullopt;
        return std::string(1, static_cast<char>(static_cast<unsigned char>(code)));
    }
    if (text.size() == 1) return std::string(text);
    return std::nullopt;
}

}  // namespace

std::optional<LircEvent> parseLircLine(std::string_view line) {
    std::string_view fields[4];
    size_t count = 0;
    for (size_t i = 0; i < line.size();) {
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        const size_t start = i;
        for (; i < line.size() && !isBlank(line[i]); ++i) {
            const auto byte = static_cast<unsigned char>(line[i]);
            if (byte < 0x20 || byte == 0x7F) return std::nullopt;  // NUL, CR: not lircd's
        }
        if (count == 4) return std::nullopt;
        fields[count++] = line.substr(start, i - start);
    }
    if (count != 4 || !isHex(fields[0]) || !isHex(fields[1])) return std::nullopt;
    LircEvent event;
    // A long hold only needs to read as "held": the count stops instead of wrapping to 0.
    for (const char c : fields[1])
        event.repeat = std::min(event.repeat * 16 + static_cast<unsigned>(hexValue(c)), 0xFFFFu);
    event.button = fields[2];
    event.remote = fields[3];
    return event;
}

std::vector<std::string> LircLineReader::feed(std::string_view bytes) {
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, end);
        if (!dropping_ && partial_.size() + piece.size() > kMaxLineBytes) {
            dropping_ = true;
            partial_.clear();
        }
        if (!dropping_) partial_.append(piece);
        if (end == std::string_view::npos) break;
        if (!dropping_) lines.push_back(partial_);
        clear();
        bytes.remove_prefix(end + 1);
    }
    return lines;
}

void LircLineReader::clear() {
    partial_.clear();
    dropping_ = false;
}

RemoteButtonMap defaultRemoteButtons() {
    RemoteButtonMap buttons;
    for (char digit = '0'; digit <= '9'; ++digit) {
        const std::string text(1, digit);
        buttons["KEY_" + text] = {RemoteAction::Char, text};
        buttons["KEY_NUMERIC_" + text] = {RemoteAction::Char, text};
    }
    using A = RemoteAction;
    const struct {
        const char* button;
        A action;
        const char* text;
    } named[] = {
        {"KEY_UP", A::Up, ""},
        {"KEY_DOWN", A::Down, ""},
        {"KEY_OK", A::Ok, ""},
        {"KEY_ENTER", A::Ok, ""},
        {"KEY_SELECT", A::Ok, ""},
        {"KEY_BACK", A::Back, ""},
        {"KEY_EXIT", A::Back, ""},
        {"KEY_ESC", A::Back, ""},
        {"KEY_RED", A::Alt, ""},
        {"KEY_INFO", A::Alt, ""},
        // The player buttons do what their digit does on the main screen.
        {"KEY_PLAYPAUSE", A::Char, "2"},
        {"KEY_NEXT", A::Char, "1"},
        {"KEY_NEXTSONG", A::Char, "1"},
        {"KEY_PREVIOUS", A::Char, "7"},
        {"KEY_PREVIOUSSONG", A::Char, "7"},
        {"KEY_FASTFORWARD", A::Char, "9"},
        {"KEY_REWIND", A::Char, "8"},
        {"KEY_SLEEP", A::Char, "0"},
    };
    for (const auto& entry : named) buttons[entry.button] = {entry.action, entry.text};
    return buttons;
}

void applyRemoteLines(RemoteButtonMap& buttons, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        const std::optional<KeyValue> pair = keyValueLine(line);
        const std::optional<std::string> key = pair ? keyFromText(pair->value) : std::nullopt;
        if (key) buttons[std::string(pair->key)] = {RemoteAction::Char, *key};
    }
}

RemoteButtonMap readRemoteButtons(const std::string& workDir) {
    RemoteButtonMap buttons = defaultRemoteButtons();
    std::vector<std::string> lines;
    const std::string path = findFileNoCase(workDir, "Remote.kvx");
    if (!path.empty() && readLines(path, lines)) applyRemoteLines(buttons, lines);
    return buttons;
}

std::string keyForEvent(const RemoteButtonMap& buttons, const LircEvent& event, const RemoteKeys& keys) {
    const auto found = buttons.find(event.button);
    if (found == buttons.end()) return {};
    const RemoteKey& key = found->second;
    std::string text;
    switch (key.action) {
    case RemoteAction::Char: text = key.text; break;
    case RemoteAction::Up: text = keys.up; break;
    case RemoteAction::Down: text = keys.down; break;
    case RemoteAction::Ok: text = keys.ok; break;
    case RemoteAction::Alt: text = keys.alt; break;
    case RemoteAction::Back: text = keys.back; break;
    }
    // lircd repeats a held button several times a second: only moving the highlight
    // wants that. A button mapped to the up or down character moves it as well.
    if (event.repeat > 0 && text != keys.up && text != keys.down) return {};
    return text;
}

}  // namespace kelvorn

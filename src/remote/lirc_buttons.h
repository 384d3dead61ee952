// SPDX-License-Identifier: GPL-3.0-or-later
// lircd's event lines and the map from remote buttons to the keys they type.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvorn {

// What a remote button stands for: a fixed character, or one of the five configurable
// keys, looked up at the moment of the press so a changed Keys.kvx is followed.
enum class RemoteAction { Char, Up, Down, Ok, Alt, Back };

struct RemoteKey {
    RemoteAction action = RemoteAction::Char;
    std::string text;  // the character, for Char
    bool operator==(const RemoteKey&) const = default;
};

// The five configurable keys as they are at the moment of a press.
struct RemoteKeys {
    std::string up, down, ok, alt, back;
};

// Button name (as lircd reports it, compared exactly) -> key.
using RemoteButtonMap = std::map<std::string, RemoteKey, std::less<>>;

// One button event: "<code> <repeat> <button> <remote>", code and repeat in hex.
struct LircEvent {
    unsigned repeat = 0;  // 0 for a fresh press, counting up while the button is held
    std::string button;
    std::string remote;
};

// The event a line holds (without its "\n"); nothing for any other line: reply blocks,
// junk, a wrong field count, a code or repeat that is not hex, control bytes.
std::optional<LircEvent> parseLircLine(std::string_view line);

// Cuts received bytes into lines. A line growing beyond kMaxLineBytes is dropped whole
// (up to its "\n"), so a peer that never ends a line cannot make the buffer grow.
class LircLineReader {
public:
    static constexpr size_t kMaxLineBytes = 1024;
    // The lines these bytes complete, without their "\n".
    std::vector<std::string> feed(std::string_view bytes);
    // Forgets a partial line (a new connection starts afresh).
    void clear();

private:
    std::string partial_;
    bool dropping_ = false;  // inside an overlong line, until its "\n"
};

// The buttons a usual remote and the kernel's remote drivers (through lircd's devinput
// driver) report, mapped to the keys of the main screen.
RemoteButtonMap defaultRemoteButtons();

// Applies "BUTTON=key" lines over the map. The key is read as in Keys.kvx: a leading
// number 1..255 is a character code, otherwise the key must be one character; blanks
// around button and key are ignored. A line without "=", with an empty button or with a
// key that is neither leaves the map as it was.
void applyRemoteLines(RemoteButtonMap& buttons, const std::vector<std::string>& lines);

// The defaults with "Remote.kvx" of the working folder (found without regard to letter
// case) applied; a missing or unreadable file leaves the defaults.
RemoteButtonMap readRemoteButtons(const std::string& workDir);

// The key an event types: "" for an unknown button, or for a held button's repeat unless
// it moves the highlight (the current up or down key), so a held "1" never skips twice.
std::string keyForEvent(const RemoteButtonMap& buttons, const LircEvent& event, const RemoteKeys& keys);

}  // namespace kelvorn

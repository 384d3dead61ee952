// lircd's event lines, cut from what the socket delivers, and the button map with
// Remote.kvx read over the defaults.
#include "platform/lirc_buttons.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kelvorn;
using Lines = std::vector<std::string>;

namespace {

const RemoteKeys kDefaultKeys{"q", "a", "c", "x", "#"};

std::string keyFor(const RemoteButtonMap& buttons, const std::string& button, unsigned repeat,
                   const RemoteKeys& keys = kDefaultKeys) {
    return keyForEvent(buttons, LircEvent{repeat, button, "remote"}, keys);
}

}  // namespace

TEST(LircLines, EventLinesAndEverythingElse) {
    const struct { std::string line; unsigned repeat; std::string button; } events[] = {
        {"000000037ff07bef 00 KEY_1 mceusb", 0, "KEY_1"},
        {"000000037ff07bef 0a KEY_UP mceusb", 10, "KEY_UP"},
        {"1 FFFFFFFFFFFF KEY_UP r", 0xFFFF, "KEY_UP"},  // a long hold never wraps to a fresh press
        {" 0  00\tKEY_OK   r ", 0, "KEY_OK"},
        {"0 00 \xff\xfe r", 0, "\xff\xfe"},  // invalid UTF-8 is just a name nobody maps
    };
    for (const auto& e : events) {
        const std::optional<LircEvent> event = parseLircLine(e.line);
        ASSERT_TRUE(event) << e.line;
        EXPECT_EQ(event->repeat, e.repeat) << e.line;
        EXPECT_EQ(event->button, e.button) << e.line;
    }
    const std::string others[] = {
        "BEGIN", "SIGHUP", "END", "", "   ", "0 00 KEY_1", "0 00 KEY_1 r extra",
        "xyz 00 KEY_1 r", "0 -1 KEY_1 r", "0 0x1 KEY_1 r", std::string("0 00 KEY_\0 r", 11), "0 00 KEY_1 r\r",
    };
    for (const std::string& line : others) EXPECT_FALSE(parseLircLine(line)) << line;
}

TEST(LircLines, SplitMergedAndOverlongLines) {
    const std::string longest(LircLineReader::kMaxLineBytes, 'x');
    const struct { Lines reads; Lines lines; } cases[] = {
        {{"a\nb", "c", "\n"}, {"a", "bc"}},
        {{"\n\nd\n"}, {"", "", "d"}},
        {{longest + "\nok\n"}, {longest, "ok"}},
        {{longest, "x\nok\n"}, {"ok"}},               // one byte too long, across reads: dropped whole
        {{longest + longest, longest, "\n", "ok\n"}, {"ok"}},
        {{"partial"}, {}},
    };
    for (const auto& c : cases) {
        LircLineReader reader;
        Lines lines;
        for (const std::string& bytes : c.reads)
            for (std::string& line : reader.feed(bytes)) lines.push_back(std::move(line));
        EXPECT_EQ(lines, c.lines) << c.reads.front().substr(0, 20);
    }
}

TEST(LircButtons, DefaultsFollowTheCurrentKeysAndOnlyUpDownRepeat) {
    const RemoteButtonMap buttons = defaultRemoteButtons();
    for (char d = '0'; d <= '9'; ++d) {
        EXPECT_EQ(keyFor(buttons, std::string("KEY_") + d, 0), std::string(1, d));
        EXPECT_EQ(keyFor(buttons, std::string("KEY_NUMERIC_") + d, 0), std::string(1, d));
    }
    const RemoteKeys changed{"w", "s", "\r", "\x7f", "b"};
    const struct { const char* button; unsigned repeat; std::string key, changedKey; } cases[] = {
        {"KEY_UP", 0, "q", "w"}, {"KEY_DOWN", 0, "a", "s"},
        {"KEY_OK", 0, "c", "\r"}, {"KEY_ENTER", 0, "c", "\r"}, {"KEY_SELECT", 0, "c", "\r"},
        {"KEY_BACK", 0, "#", "b"}, {"KEY_EXIT", 0, "#", "b"}, {"KEY_ESC", 0, "#", "b"},
        {"KEY_RED", 0, "x", "\x7f"}, {"KEY_INFO", 0, "x", "\x7f"},
        {"KEY_PLAYPAUSE", 0, "2", "2"}, {"KEY_NEXT", 0, "1", "1"}, {"KEY_NEXTSONG", 0, "1", "1"},
        {"KEY_PREVIOUS", 0, "7", "7"}, {"KEY_PREVIOUSSONG", 0, "7", "7"},
        {"KEY_FASTFORWARD", 0, "9", "9"}, {"KEY_REWIND", 0, "8", "8"}, {"KEY_SLEEP", 0, "0", "0"},
        {"KEY_UP", 3, "q", "w"}, {"KEY_DOWN", 1, "a", "s"},  // a held arrow keeps moving
        {"KEY_1", 1, "", ""}, {"KEY_NEXT", 2, "", ""}, {"KEY_OK", 1, "", ""}, {"KEY_BACK", 1, "", ""},
        {"KEY_VOLUMEUP", 0, "", ""}, {"key_up", 0, "", ""},  // unknown; names compare exactly
    };
    for (const auto& c : cases) {
        EXPECT_EQ(keyFor(buttons, c.button, c.repeat), c.key) << c.button << " " << c.repeat;
        EXPECT_EQ(keyFor(buttons, c.button, c.repeat, changed), c.changedKey) << c.button;
    }
    // A digit configured as the up key moves the highlight, so it repeats.
    EXPECT_EQ(keyFor(buttons, "KEY_5", 1, {"5", "a", "c", "x", "#"}), "5");
}

TEST(LircButtons, RemoteFileOverridesAndAddsButtonsAndIgnoresBadLines) {
    const Lines lines = {
        "KEY_HOME=35", " KEY_1 =  z ", "KEY_UP=w", "KEY_CHANNELUP=q", "KEY_RED=0", "KEY_GREEN=200",
        "KEY_YELLOW==", "", "KEY_BLUE=256", "KEY_OK=Enter", "KEY_BACK=", "=5", "KEY_2 53", "KEY_3=-1",
    };
    const struct { const char* button; unsigned repeat; std::string key; } cases[] = {
        {"KEY_HOME", 0, "#"}, {"KEY_1", 0, "z"}, {"KEY_RED", 0, "0"}, {"KEY_GREEN", 0, "\xc8"},
        {"KEY_YELLOW", 0, "="},
        {"KEY_UP", 0, "w"}, {"KEY_UP", 1, ""},  // a literal "w" is no longer the up function
        {"KEY_CHANNELUP", 1, "q"},              // ... while a literal up key still repeats
        {"KEY_BLUE", 0, ""}, {"KEY_OK", 0, "c"}, {"KEY_BACK", 0, "#"}, {"KEY_2", 0, "2"}, {"KEY_3", 0, "3"},
    };
    for (const char* lineEnd : {"\n", "\r\n"}) {
        QTemporaryDir dir;
        QFile file(dir.filePath("Remote.kvx"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (const std::string& line : lines) file.write((line + lineEnd).c_str());
        file.close();
        const RemoteButtonMap buttons = readRemoteButtons(dir.path().toStdString());
        for (const auto& c : cases) EXPECT_EQ(keyFor(buttons, c.button, c.repeat), c.key) << c.button << lineEnd;
    }
    EXPECT_EQ(readRemoteButtons("/nonexistent/folder"), defaultRemoteButtons());
}

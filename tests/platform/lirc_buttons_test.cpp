// lircd's event lines and the button map with Remote.kvx read over the defaults.
#include "platform/lirc_buttons.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kelvorn;

namespace {

// The keys a row of presses types, "-" for each press that types nothing.
std::string typed(const RemoteButtonMap& buttons, const std::vector<std::string>& names, unsigned repeat,
                  const RemoteKeys& keys = {"q", "a", "c", "x", "#"}) {
    std::string out;
    for (const std::string& name : names) {
        const std::string key = keyForEvent(buttons, LircEvent{repeat, name, "remote"}, keys);
        out += key.empty() ? "-" : key;
    }
    return out;
}

}  // namespace

TEST(LircLines, OnlyWellFormedEventLinesAreEvents) {
    const std::pair<std::string, std::string> cases[] = {  // line, "repeat button" or "-"
        {"000000037ff07bef 00 KEY_1 mceusb", "0 KEY_1"}, {"000000037ff07bef 0a KEY_UP mceusb", "10 KEY_UP"},
        {"1 FFFFFFFFFFFF KEY_UP r", "65535 KEY_UP"},  // a long hold never wraps to a fresh press
        {" 0  00\tKEY_OK   r ", "0 KEY_OK"}, {"0 00 \xff r", "0 \xff"},  // names are bytes
        {"BEGIN", "-"}, {"SIGHUP", "-"}, {"END", "-"}, {"", "-"}, {"0 00 KEY_1", "-"}, {"0 00 KEY_1 r extra", "-"},
        {"xyz 00 KEY_1 r", "-"}, {"0 -1 KEY_1 r", "-"}, {"0 0x1 KEY_1 r", "-"}, {"0 00 KEY_1 r\r", "-"},
        {std::string("0 00 KEY_\0 r", 11), "-"},
    };
    for (const auto& [line, expected] : cases) {
        const std::optional<LircEvent> event = parseLircLine(line);
        EXPECT_EQ(event ? std::to_string(event->repeat) + " " + event->button : "-", expected) << line;
    }
}

TEST(LircButtons, DefaultsFollowTheCurrentKeysAndOnlyUpDownRepeat) {
    const RemoteButtonMap buttons = defaultRemoteButtons();
    std::vector<std::string> digits;
    for (const char d : std::string("0123456789"))
        digits.insert(digits.end(), {"KEY_" + std::string(1, d), "KEY_NUMERIC_" + std::string(1, d)});
    EXPECT_EQ(typed(buttons, digits, 0), "00112233445566778899");
    const std::vector<std::string> named = {
        "KEY_UP", "KEY_DOWN", "KEY_OK", "KEY_ENTER", "KEY_SELECT", "KEY_BACK", "KEY_EXIT", "KEY_ESC", "KEY_RED",
        "KEY_INFO", "KEY_PLAYPAUSE", "KEY_NEXT", "KEY_NEXTSONG", "KEY_PREVIOUS", "KEY_PREVIOUSSONG",
        "KEY_FASTFORWARD", "KEY_REWIND", "KEY_SLEEP", "KEY_VOLUMEUP", "key_up"};
    EXPECT_EQ(typed(buttons, named, 0), "qaccc###xx21177980--");
    EXPECT_EQ(typed(buttons, named, 0, {"w", "s", "\r", "\x7f", "b"}), "ws\r\r\rbbb\x7f\x7f" "21177980--");
    EXPECT_EQ(typed(buttons, named, 1), "qa------------------");  // a held button: only the highlight moves on
    EXPECT_EQ(typed(buttons, {"KEY_5"}, 1, {"5", "a", "c", "x", "#"}), "5");  // a digit set as the up key
}

TEST(LircButtons, RemoteFileOverridesAndAddsButtonsAndIgnoresBadLines) {
    const QByteArray lines = "KEY_HOME=35|| KEY_1 =  z |KEY_UP=w|KEY_CHANNELUP=q|KEY_RED=0|KEY_GREEN=200|"
                             "KEY_YELLOW==|KEY_BLUE=256|KEY_OK=Enter|KEY_BACK=|=5|KEY_2 53|KEY_3=-1";
    for (const char* lineEnd : {"\n", "\r\n"}) {
        QTemporaryDir dir;
        QFile file(dir.filePath("Remote.kvx"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray(lines).replace("|", lineEnd)) > 0);
        file.close();
        const RemoteButtonMap buttons = readRemoteButtons(dir.path().toStdString());
        EXPECT_EQ(typed(buttons, {"KEY_HOME", "KEY_1", "KEY_UP", "KEY_RED", "KEY_GREEN", "KEY_YELLOW", "KEY_BLUE",
                                  "KEY_OK", "KEY_BACK", "KEY_2", "KEY_3"}, 0), "#zw0\xc8=-c#23") << lineEnd;
        // A literal "w" no longer moves the highlight; a literal up key still does.
        EXPECT_EQ(typed(buttons, {"KEY_UP", "KEY_CHANNELUP"}, 1), "-q") << lineEnd;
    }
    EXPECT_EQ(readRemoteButtons("/nonexistent/folder"), defaultRemoteButtons());
}

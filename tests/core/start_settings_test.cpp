#include "core/start_settings.h"

#include <gtest/gtest.h>

#include "state/kelvorn_service.h"

using namespace kelvorn;

TEST(KeyFile, CodesBecomeCharactersAndBadLinesKeepDefaults) {
    const struct {
        std::vector<std::string> lines;
        const char* keys[5];  // KeyUp, KeyDown, KeyOk, KeyAlt, KeyBack
    } cases[] = {
        {{"38", "40", "13", "x", ""}, {"&", "(", "\r", "x", "#"}},
        // "0" is the digit itself; 300, -5 and 0.2 name no 8-bit character; 64.6 rounds to 65.
        {{"0", "300", "-5", "0.2", "64.6"}, {"0", "a", "c", "x", "A"}},
        {{"w"}, {"w", "a", "c", "x", "#"}},
        // Blanks are trimmed; a word is no key; a back key hidden behind up keeps working.
        {{" 38 ", "Down", "c\t", "xx", "# "}, {"&", "a", "c", "x", "#"}},
        {{"#", "b", "c", "x", "b"}, {"q", "b", "c", "x", "#"}},
    };
    for (const auto& c : cases) {
        KelvornSERVICE svc;
        applyKeyLines(svc, c.lines);
        const std::string got[] = {svc.KeyUp, svc.KeyDown, svc.KeyOk, svc.KeyAlt, svc.KeyBack};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(got[i], c.keys[i]) << "lines from " << c.lines[0] << ", key " << i;
    }
}

TEST(SettingsFiles, MouseWantsExactlyOneAndSpeedOutOfRangeGivesOne) {
    EXPECT_TRUE(mouseWanted({"1.0"}));
    for (const auto& lines : std::vector<std::vector<std::string>>{{"2"}, {""}, {"yes"}, {}})
        EXPECT_FALSE(mouseWanted(lines)) << lines.size();
    const struct { std::vector<std::string> lines; double speed; } speeds[] = {
        {{"30"}, 30}, {{"31"}, 1}, {{"0"}, 1}, {{"fast"}, 1}, {{"2.5"}, 2.5}, {{"-2"}, -2}, {{}, 1},
        {{"0.01"}, 0.25}, {{"0.00000000000000001"}, 0.25}, {{"0.3"}, 0.3},  // at most four times slower
    };
    for (const auto& c : speeds) EXPECT_EQ(gfxSpeedFrom(c.lines), c.speed) << c.speed;
}

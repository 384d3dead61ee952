// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/start_settings.h"

#include <gtest/gtest.h>

#include "state/kelvorn_service.h"

using namespace kelvorn;

// "0" is the digit; 300, -5, 0.2 are no character; 64.6 rounds; blanks trimmed; a word is no key;
// a back key hidden behind up stays usable.
TEST(KeyFile, CodesBecomeCharactersAndBadLinesKeepDefaults) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"0", "300", "-5", "0.2", "64.6"}, "0 a c x A"},
        {{" 38 ", "Down", "c\t", "xx", "# "}, "& a c x #"},
        {{"#", "b", "c", "x", "b"}, "q b c x #"},
        {{"w"}, "w a c x #"},  // a short file
    };
    for (const auto& [lines, keys] : cases) {
        KelvornSERVICE svc;
        applyKeyLines(svc, lines);
        EXPECT_EQ(svc.KeyUp + " " + svc.KeyDown + " " + svc.KeyOk + " " + svc.KeyAlt + " " + svc.KeyBack, keys)
            << lines[0];
    }
}

// A speed of 0 or above 30 gives 1; negatives stay; at most four times slower than normal.
TEST(SettingsFiles, MouseWantsExactlyOneAndSpeedOutOfRangeGivesOne) {
    EXPECT_TRUE(mouseWanted({"1.0"}) && !mouseWanted({"2"}) && !mouseWanted({}));
    EXPECT_EQ(gfxSpeedFrom({}), 1);
    for (const auto& [line, speed] :
         {std::pair{"30", 30.0}, {"31", 1.0}, {"0", 1.0}, {"-2", -2.0}, {"0.01", 0.25}, {"0.3", 0.3}})
        EXPECT_EQ(gfxSpeedFrom({line}), speed) << line;
}

#include "core/start_settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/kelvorn_service.h"
#include "platform/text_file.h"

using namespace kelvorn;

TEST(KeyFile, CodesBecomeCharactersAndEmptyLinesKeepDefaults) {
    KelvornSERVICE svc;
    applyKeyLines(svc, {"38", "40", "13", "x", ""});
    EXPECT_EQ(svc.KeyUp, "&");
    EXPECT_EQ(svc.KeyDown, "(");
    EXPECT_EQ(svc.KeyOk, "\r");
    EXPECT_EQ(svc.KeyAlt, "x");
    EXPECT_EQ(svc.KeyBack, "#");
}

TEST(KeyFile, ZeroIsTheDigitAndBadCodesKeepDefaults) {
    KelvornSERVICE svc;
    // "0" has the value 0, so it is the key itself; 300, -5 and 0.2 name no 8-bit character.
    applyKeyLines(svc, {"0", "300", "-5", "0.2", "64.6"});
    EXPECT_EQ(svc.KeyUp, "0");
    EXPECT_EQ(svc.KeyDown, "a");
    EXPECT_EQ(svc.KeyOk, "c");
    EXPECT_EQ(svc.KeyAlt, "x");
    EXPECT_EQ(svc.KeyBack, "A");  // nearest whole number: 65
}

TEST(KeyFile, ShortFileLeavesTheRestAtDefaults) {
    KelvornSERVICE svc;
    applyKeyLines(svc, {"w"});
    EXPECT_EQ(svc.KeyUp, "w");
    EXPECT_EQ(svc.KeyDown, "a");
    EXPECT_EQ(svc.KeyBack, "#");
}

TEST(MouseFile, OnlyTheNumberOneShowsTheCursor) {
    EXPECT_TRUE(mouseWanted({"1"}));
    EXPECT_TRUE(mouseWanted({"1.0"}));
    EXPECT_FALSE(mouseWanted({"2"}));
    EXPECT_FALSE(mouseWanted({""}));
    EXPECT_FALSE(mouseWanted({"yes"}));
    EXPECT_FALSE(mouseWanted({}));
}

TEST(SpeedFile, OutOfRangeGivesOneAndNegativesStay) {
    EXPECT_EQ(gfxSpeedFrom({"30"}), 30);
    EXPECT_EQ(gfxSpeedFrom({"31"}), 1);
    EXPECT_EQ(gfxSpeedFrom({"0"}), 1);
    EXPECT_EQ(gfxSpeedFrom({"fast"}), 1);
    EXPECT_EQ(gfxSpeedFrom({"2.5"}), 2.5);
    EXPECT_EQ(gfxSpeedFrom({"-2"}), -2);
    EXPECT_EQ(gfxSpeedFrom({}), 1);
}

TEST(StartSettings, FilesAreFoundWithoutRegardToCase) {
    QTemporaryDir dir;
    const std::string d = dir.path().toStdString();
    ASSERT_TRUE(writeLinesAtomic(d + "/keys.KVX", {"w", "s"}));
    ASSERT_TRUE(writeLinesAtomic(d + "/Mouse.kvx", {"1"}));
    ASSERT_TRUE(writeLinesAtomic(d + "/gfxspeed.kvx", {"-1"}));
    KelvornSERVICE svc;
    svc.BackCount = 2;
    readStartSettings(svc, d);
    EXPECT_EQ(svc.KeyUp, "w");
    EXPECT_EQ(svc.KeyDown, "s");
    EXPECT_TRUE(svc.MouseOn);
    EXPECT_EQ(svc.GFXSpeed, -1);
    EXPECT_EQ(svc.BackCount, 0);
}

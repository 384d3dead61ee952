#include "library/alpha_search.h"

#include <gtest/gtest.h>

#include "core/kelvorn_service.h"

namespace kelvorn {
namespace {

KelvornSERVICE archiveOf(std::vector<std::string> names) {
    KelvornSERVICE svc;
    svc.ArchiveCount = static_cast<int16_t>(names.size()) - 1;
    svc.ArchiveList = std::move(names);
    return svc;
}

// The archive indices the last search found, read through TmpCount.
std::vector<int> found(const KelvornSERVICE& svc) {
    std::vector<int> indices;
    for (int k = 0; k <= svc.TmpCount; ++k) {
        EXPECT_EQ(svc.TmpSongs.at(k), svc.ArchiveList.at(svc.TmpIdx.at(k))) << k;
        indices.push_back(svc.TmpIdx.at(k));
    }
    return indices;
}

TEST(AlphaSearch, UpperCasedNameWithoutExtension) {
    KelvornSERVICE svc = archiveOf({"Love Me Tender.mp3", "Abba - SOS.mp3", "GLOVES.mp3", "AB CD.mp3",
                                    "MP3 Mix.mp3", "Stra\xC3\x9F" "e.mp3", "\xC3\xA9t\xC3\xA9.mp3",
                                    "\xE9t\xE9 bis.mp3"});
    const struct { const char* text; std::vector<int> indices; } cases[] = {
        {"LOVE", {0, 2}},
        {"love", {}},        // the key is upper case, the text compared as typed
        {"MP3", {4}},        // never found through the extension
        {"B_C", {3}},        // "_" is a space; the match runs across the word boundary
        {"SS", {5}},         // upper-casing follows the character rules, not byte by byte
        {"\xC3\x89T\xC3\x89", {6, 7}},  // UTF-8 and Latin-1 names alike
        {"\xC9T\xC9", {6, 7}},          // a typed text that is not UTF-8 is read as Latin-1
    };
    for (const auto& c : cases) {
        AlphaSearch(svc, c.text);
        EXPECT_EQ(found(svc), c.indices) << c.text;
        EXPECT_EQ(svc.TmpCount, static_cast<int>(c.indices.size()) - 1) << c.text;
    }
}

TEST(AlphaSearch, EmptyTextSelectsAllInArchiveOrderAndNoMatchEmptiesTheResults) {
    // Short entries are searched whole; "ABCD" loses all four characters; the
    // three-character "ABé" is four bytes long but still searched whole.
    KelvornSERVICE svc = archiveOf({"AB", "ABCD", "", "xAB.mp3", "AB\xC3\xA9", "zab.mp3"});
    AlphaSearch(svc, "");
    EXPECT_EQ(found(svc), (std::vector<int>{0, 1, 2, 3, 4, 5}));

    AlphaSearch(svc, "AB");
    EXPECT_EQ(found(svc), (std::vector<int>{0, 3, 4, 5}));
    AlphaSearch(svc, "\xC3\x89");
    EXPECT_EQ(found(svc), (std::vector<int>{4}));

    AlphaSearch(svc, "QQ");
    EXPECT_EQ(svc.TmpCount, -1);
}

TEST(AlphaSearch, AFullArchiveStaysInsideTheSixteenBitCount) {
    std::vector<std::string> names(kReachableEntries, "Same Song.mp3");
    KelvornSERVICE svc = archiveOf(std::move(names));
    AlphaSearch(svc, "SONG");
    EXPECT_EQ(svc.TmpCount, kReachableEntries - 1);
    EXPECT_EQ(svc.TmpIdx.at(kReachableEntries - 1), kReachableEntries - 1);
}

}  // namespace
}  // namespace kelvorn

#include "library/alpha_search.h"

#include <gtest/gtest.h>

#include "state/kelvorn_service.h"

namespace kelvorn {
namespace {

KelvornSERVICE archiveOf(std::vector<std::string> names) {
    KelvornSERVICE svc;
    svc.ArchiveCount = static_cast<int16_t>(names.size()) - 1;
    svc.ArchiveList = std::move(names);
    return svc;
}

// The archive indices the search finds, read through TmpCount.
std::vector<int> found(KelvornSERVICE& svc, const std::string& text) {
    AlphaSearch(svc, text);
    std::vector<int> indices;
    for (size_t k = 0; static_cast<int>(k) <= svc.TmpCount; ++k) {
        EXPECT_EQ(svc.TmpSongs.at(k), svc.ArchiveList.at(static_cast<size_t>(svc.TmpIdx.at(k)))) << k;
        indices.push_back(svc.TmpIdx.at(k));
    }
    return indices;
}

TEST(AlphaSearch, UpperCasedNameWithoutExtension) {
    KelvornSERVICE svc = archiveOf({"Love Me Tender.mp3", "Abba - SOS.mp3", "GLOVES.mp3", "AB CD.mp3",
                                    "MP3 Mix.mp3", "Stra\xC3\x9F" "e.mp3", "\xC3\xA9t\xC3\xA9.mp3",
                                    "\xE9t\xE9 bis.mp3", "AB", "ABCD", "AB\xC3\xA9"});
    const struct { const char* text; std::vector<int> indices; } cases[] = {
        {"LOVE", {0, 2}},
        {"love", {}},        // the key is upper case, the text compared as typed
        {"MP3", {4}},        // never found through the extension
        {"B_C", {3}},        // "_" is a space; the match runs across the word boundary
        {"SS", {5}},         // upper-casing follows the character rules, not byte by byte
        {"\xC3\x89T\xC3\x89", {6, 7}},  // UTF-8 and Latin-1 names alike
        {"\xC9T\xC9", {6, 7}},          // a typed text that is not UTF-8 is read as Latin-1
        {"AB", {1, 3, 8, 10}},  // short names are searched whole, "ABCD" loses all four characters
        {"\xC3\x89", {6, 7, 10}},  // "AB\xC3\xA9" is four bytes but three characters: searched whole
        {"", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
    };
    for (const auto& c : cases) EXPECT_EQ(found(svc, c.text), c.indices) << '"' << c.text << '"';
}

TEST(AlphaSearch, AFullArchiveStaysInsideTheSixteenBitCount) {
    KelvornSERVICE svc = archiveOf(std::vector<std::string>(kReachableEntries, "Same Song.mp3"));
    AlphaSearch(svc, "SONG");
    EXPECT_EQ(svc.TmpCount, kReachableEntries - 1);
    EXPECT_EQ(svc.TmpIdx.at(kReachableEntries - 1), kReachableEntries - 1);
}

}  // namespace
}  // namespace kelvorn

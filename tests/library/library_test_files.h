// Small file helpers and a working-folder fixture for the media library tests.
#pragma once
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

#include "state/kelvorn_service.h"

namespace kelvorn::test {

using Lines = std::vector<std::string>;

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.good()) << path;
}

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Entries 0..last of a list, as far as it holds them.
inline Lines upTo(const SongList& list, int last) {
    return Lines(list.begin(), list.begin() + std::clamp<long>(last + 1, 0, static_cast<long>(list.size())));
}

// `count` lines "song i.mp3", each ended by CR LF.
inline std::string numberedLines(int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i) bytes += "song " + std::to_string(i) + ".mp3\r\n";
    return bytes;
}

// A fresh temporary working folder and service record.
class WorkFolder : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string work = dir.path().toStdString();
    KelvornSERVICE svc;
    std::string in(const std::string& name) const { return work + "/" + name; }
};

}  // namespace kelvorn::test

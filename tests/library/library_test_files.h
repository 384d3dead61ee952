// Small file helpers and a working-folder fixture for the media library tests.
#pragma once
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

#include "state/kelvorn_service.h"

namespace kelvorn::test {

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.good()) << path;
}

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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

// SPDX-License-Identifier: GPL-3.0-or-later
// Owners of a file descriptor and of an open folder listing: closed however the scope ends.
#pragma once
#include <dirent.h>
#include <unistd.h>

#include <utility>

namespace kelvorn {

class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~UniqueFd() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes now, telling whether the close (the last chance to see a write fail) worked.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

class UniqueDir {
public:
    explicit UniqueDir(const char* path) : dir_(::opendir(path)) {}
    UniqueDir(const UniqueDir&) = delete;
    UniqueDir& operator=(const UniqueDir&) = delete;
    ~UniqueDir() {
        if (dir_) ::closedir(dir_);
    }
    DIR* get() const { return dir_; }
    explicit operator bool() const { return dir_ != nullptr; }

private:
    DIR* dir_;
};

}  // namespace kelvorn

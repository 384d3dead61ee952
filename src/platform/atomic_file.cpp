// SPDX-License-Identifier: GPL-3.0-or-later
// Atomic replacement of files: a temporary file beside the target, renamed over it.
#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <optional>

#include "platform/unique_fd.h"

namespace kelvorn {

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool writeAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;  // no progress: give up rather than loop
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

// Where a chain of symbolic links ends (the path itself when it is no link); nothing for
// a chain that does not end within as many steps as the system follows (a loop).
std::optional<std::string> linkTarget(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<size_t>(n) >= link.size()) return path;
        link.resize(static_cast<size_t>(n));
        if (link[0] == '/') path = std::move(link);
        else (path = folderOf(path)).append("/").append(link);
    }
    return std::nullopt;
}

// Temporary files are hidden (a leading dot), so no folder listing of the program ever
// shows one, and named after their target, so a write can find what a crash left.
std::string tempPrefix(const std::string& target) {
    const auto slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    return folder + "." + name + ".tmp-";
}

// Removes the temporary files of earlier writes of the same file that never finished.
void removeLeftovers(const std::string& folder, const std::string& namePrefix) {
    const UniqueDir dir(folder.c_str());
    if (!dir) return;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name(entry->d_name);
        if (name.size() > namePrefix.size() && name.substr(0, namePrefix.size()) == namePrefix &&
            name.find_first_not_of("0123456789-", namePrefix.size()) == std::string_view::npos)
            stale.emplace_back(name);
    }
    for (const std::string& name : stale) ::unlink((folder + '/').append(name).c_str());
}

// Makes the rename itself durable; a failure here does not undo the write.
void syncFolder(const std::string& folder) {
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.get());
}

}  // namespace

bool writeFileAtomic(const std::string& path, std::string_view bytes) {
    if (path.empty() || path.back() == '/') return false;
    // A link is kept: the file it leads to is the one replaced.
    const std::optional<std::string> linked = linkTarget(path);
    if (!linked) return false;
    const std::string& target = *linked;
    const std::string folder = folderOf(target);
    const std::string prefix = tempPrefix(target);
    // Pid plus a counter: unique per process and per concurrent write.
    static std::atomic<unsigned> counter{0};
    const std::string temp = prefix + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));

    // The replaced file keeps its permission bits; a new one gets the usual 0666 & ~umask.
    // One its owner made read-only stays, whoever writes (root included).
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    if (replacing && (old.st_mode & 0222) == 0) return false;
    UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
    if (!fd) return false;
    bool ok = (!replacing || ::fchmod(fd.get(), old.st_mode & 07777) == 0) && writeAll(fd.get(), bytes) &&
              ::fsync(fd.get()) == 0;
    if (!fd.close()) ok = false;
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) ok = false;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    syncFolder(folder);
    removeLeftovers(folder, prefix.substr(prefix.rfind('/') + 1));
    return true;
}

void appendCrLfLines(std::string& bytes, const std::vector<std::string>& lines, size_t first, size_t count) {
    if (first >= lines.size()) return;
    const size_t last = first + std::min(count, lines.size() - first);
    size_t total = bytes.size();
    for (size_t i = first; i < last; ++i) total += lines[i].size() + 2;
    bytes.reserve(total);
    for (size_t i = first; i < last; ++i) {
        bytes += lines[i];
        bytes += "\r\n";
    }
}

bool writeLinesAtomic(const std::string& path, const std::vector<std::string>& lines, size_t first, size_t count) {
    std::string bytes;
    appendCrLfLines(bytes, lines, first, count);
    return writeFileAtomic(path, bytes);
}

}  // namespace kelvorn

// Whole-file reading with the program's line rules, and atomic replacement of files.
#include "platform/text_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <string>
#include <vector>

namespace kelvorn {

namespace {

// No file of the program comes near this; a larger one is treated as unreadable
// rather than filling the memory.
constexpr size_t kMaxFileBytes = size_t{256} << 20;

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

// Where a chain of symbolic links ends (the path itself when it is no link). A chain
// that does not end within a few steps is written as it stands, and then fails.
std::string linkTarget(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<size_t>(n) >= link.size()) return path;
        link.resize(static_cast<size_t>(n));
        path = link[0] == '/' ? link : folderOf(path) + "/" + link;
    }
    return path;
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
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.size() > namePrefix.size() && name.substr(0, namePrefix.size()) == namePrefix &&
            name.find_first_not_of("0123456789-", namePrefix.size()) == std::string_view::npos)
            stale.emplace_back(name);
    }
    ::closedir(dir);
    for (const std::string& name : stale) ::unlink((folder + "/" + name).c_str());
}

// Makes the rename itself durable; a failure here does not undo the write.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) break;
        lines.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;  // CR LF is one end
    }
    if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
    return lines;
}

std::string_view trimmedBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

std::optional<KeyValue> keyValueLine(std::string_view line) {
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const KeyValue pair{trimmedBlanks(line.substr(0, equals)), trimmedBlanks(line.substr(equals + 1))};
    if (pair.key.empty()) return std::nullopt;
    return pair;
}

bool readFileBytes(const std::string& path, std::string& out) {
    out.clear();
    if (path.empty()) return false;
    // O_NONBLOCK so that opening a FIFO cannot hang; it is refused below anyway.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    if (st.st_size > 0 && static_cast<unsigned long long>(st.st_size) <= kMaxFileBytes)
        out.reserve(static_cast<size_t>(st.st_size));

    bool ok = true;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;  // end of file
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        if (out.size() + static_cast<size_t>(n) > kMaxFileBytes) {
            ok = false;
            break;
        }
        out.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return ok;
}

bool readLines(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    std::string bytes;
    if (!readFileBytes(path, bytes)) return false;
    lines = splitLines(bytes);
    return true;
}

bool readFirstLine(const std::string& path, std::string& line) {
    line.clear();
    std::string bytes;
    if (!readFileBytes(path, bytes) || bytes.empty()) return false;
    line = bytes.substr(0, bytes.find_first_of("\r\n"));
    return true;
}

bool writeFileAtomic(const std::string& path, std::string_view bytes) {
    if (path.empty() || path.back() == '/') return false;
    // A link is kept: the file it leads to is the one replaced.
    const std::string target = linkTarget(path);
    const std::string folder = folderOf(target);
    const std::string prefix = tempPrefix(target);
    // Pid plus a counter: unique per process and per concurrent write.
    static std::atomic<unsigned> counter{0};
    const std::string temp = prefix + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));

    // The replaced file keeps its permission bits; a new one gets the usual 0666 & ~umask.
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) return false;
    bool ok = (!replacing || ::fchmod(fd, old.st_mode & 07777) == 0) && writeAll(fd, bytes) && ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
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

// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reading with the program's line rules.
#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/unique_fd.h"

namespace kelvorn {

namespace {

// No file of the program comes near this; a larger one is treated as unreadable
// rather than filling the memory.
constexpr size_t kMaxFileBytes = size_t{256} << 20;

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
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd) return false;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (st.st_size > 0 && static_cast<unsigned long long>(st.st_size) <= kMaxFileBytes)
        out.reserve(static_cast<size_t>(st.st_size));

    bool ok = true;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
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

}  // namespace kelvorn

// SPDX-License-Identifier: GPL-3.0-or-later
// Files replaced whole: a crash or a full disk never leaves half a file.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace kelvorn {

// Replaces the file with the bytes: written to a hidden temporary file beside it,
// flushed, then renamed over the target. A symbolic link stays and the file it leads to
// is replaced; a link that leads nowhere in the end (a loop) fails. A replaced file keeps
// its permission bits, and one without any write bit (made read-only by its owner) is not
// replaced: that fails as on a read-only disk. On failure the old file stays as it was;
// a success also removes what failed writes of the same file left behind.
bool writeFileAtomic(const std::string& path, std::string_view bytes);

// Appends lines first..first+count-1 of `lines` (as many as there are), each followed
// by CR LF, to `bytes`.
void appendCrLfLines(std::string& bytes, const std::vector<std::string>& lines, size_t first = 0,
                     size_t count = std::string::npos);

// Every line followed by CR LF, written with writeFileAtomic.
bool writeLinesAtomic(const std::string& path, const std::vector<std::string>& lines, size_t first = 0,
                      size_t count = std::string::npos);

}  // namespace kelvorn

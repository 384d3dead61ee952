// SPDX-License-Identifier: GPL-3.0-or-later
// The music folder file and the video list file.
#pragma once
#include <string>

namespace kelvorn {

struct KelvornSERVICE;

// The music folder when there is no music folder file: the user's music folder.
std::string defaultMusicFolder();
// The replacement for an empty first line: "music/" in the working folder.
std::string emptyLineMusicFolder();

// First line of "Mp3Path.kvx" in `workDir` (found without regard to letter case), or
// defaultMusicFolder() when the file is missing or holds no line. An empty first line
// gives the empty string.
std::string ReadMp3Path(const std::string& workDir);

// ReadMp3Path with the empty-line replacement applied: what every caller stores in Mp3Path.
std::string musicFolderFor(const std::string& workDir);

// Sets Mp3Path and fills VideoName/VideoFile/VideoCount from "Video.kvx" (pairs of
// lines, at most 201 videos); VideoCount = -1 without the file.
void LoadVideoList(KelvornSERVICE& svc, const std::string& workDir);

}  // namespace kelvorn

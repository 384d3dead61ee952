// SPDX-License-Identifier: GPL-3.0-or-later
// The music folder file "Mp3Path.kvx" and the video list file "Video.kvx".
#include "library/media_paths.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <vector>

#include "platform/folder_listing.h"
#include "platform/text_file.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

std::string defaultMusicFolder() {
    QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (music.isEmpty()) music = QDir::homePath() + QStringLiteral("/Music");
    // Paths are bytes in the file system's encoding, like the names from the listing.
    std::string folder = QFile::encodeName(music).toStdString();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string emptyLineMusicFolder() { return "music/"; }

std::string ReadMp3Path(const std::string& workDir) {
    const std::string path = findFileNoCase(workDir, "Mp3Path.kvx");
    std::string line;
    if (!path.empty() && readFirstLine(path, line)) return line;
    return defaultMusicFolder();
}

std::string musicFolderFor(const std::string& workDir) {
    std::string folder = ReadMp3Path(workDir);
    return folder.empty() ? emptyLineMusicFolder() : folder;
}

void LoadVideoList(KelvornSERVICE& svc, const std::string& workDir) {
    svc.Mp3Path = musicFolderFor(workDir);
    svc.VideoCount = -1;

    const std::string path = findFileNoCase(workDir, "Video.kvx");
    if (path.empty()) return;
    std::vector<std::string> lines;
    readLines(path, lines);  // an unreadable file gives no lines

    // Pairs of lines; an odd last line is a video without a file.
    const size_t videos = std::min((lines.size() + 1) / 2, static_cast<size_t>(kVideoSlots));
    if (svc.VideoName.size() < videos) svc.VideoName.resize(videos);
    if (svc.VideoFile.size() < videos) svc.VideoFile.resize(videos);
    for (size_t v = 0; v < videos; ++v) {
        svc.VideoName[v] = std::move(lines[2 * v]);
        svc.VideoFile[v] = 2 * v + 1 < lines.size() ? std::move(lines[2 * v + 1]) : std::string();
    }
    svc.VideoCount = static_cast<int16_t>(static_cast<int>(videos) - 1);
}

}  // namespace kelvorn

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/start_settings.h"

#include <cmath>

#include "platform/folder_listing.h"
#include "platform/lenient_number.h"
#include "platform/text_file.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

void applyKeyLines(KelvornSERVICE& svc, const std::vector<std::string>& lines) {
    std::string* keys[] = {&svc.KeyUp, &svc.KeyDown, &svc.KeyOk, &svc.KeyAlt, &svc.KeyBack};
    for (size_t i = 0; i < 5 && i < lines.size(); ++i) {
        // Blanks around the key are an editor's doing, never the key.
        const std::string& raw = lines[i];
        const size_t first = raw.find_first_not_of(" \t");
        std::string line =
            first == std::string::npos ? std::string() : raw.substr(first, raw.find_last_not_of(" \t") + 1 - first);
        const double value = leadingNumber(line);
        if (value != 0) {
            const double code = std::nearbyint(value);
            if (!(code >= 1 && code <= 255)) continue;  // no 8-bit character: default stays
            line = std::string(1, static_cast<char>(static_cast<unsigned char>(code)));
        }
        // A key is one typed character; a longer line ("Escape") could never be typed.
        if (line.size() == 1) *keys[i] = line;
    }
    // Up and down come first on every screen: a back key equal to one of them could
    // never act, and the program could not be left from the remote.
    if (svc.KeyBack == svc.KeyUp || svc.KeyBack == svc.KeyDown) {
        svc.KeyBack = "#";
        if (svc.KeyUp == "#") svc.KeyUp = "q";
        if (svc.KeyDown == "#") svc.KeyDown = "a";
    }
}

bool mouseWanted(const std::vector<std::string>& lines) { return !lines.empty() && leadingNumber(lines[0]) == 1; }

double gfxSpeedFrom(const std::vector<std::string>& lines) {
    const double value = lines.empty() ? 0 : leadingNumber(lines[0]);
    if (value > 30 || value == 0 || !std::isfinite(value)) return 1.0;
    // A tiny factor would stretch every animation beyond waiting for: at most four
    // times slower than normal.
    if (value > 0 && value < kSlowestGfxSpeed) return kSlowestGfxSpeed;
    return value;
}

void readStartSettings(KelvornSERVICE& svc, const std::string& workDir) {
    std::vector<std::string> lines;
    std::string path = findFileNoCase(workDir, "Keys.kvx");
    if (!path.empty() && readLines(path, lines)) applyKeyLines(svc, lines);

    svc.MouseOn = false;
    lines.clear();
    path = findFileNoCase(workDir, "mouse.kvx");
    if (!path.empty() && readLines(path, lines)) svc.MouseOn = mouseWanted(lines);

    svc.VideoMode = false;
    svc.GFXSpeed = 1.0;
    lines.clear();
    path = findFileNoCase(workDir, "GFXSpeed.kvx");
    if (!path.empty() && readLines(path, lines)) svc.GFXSpeed = gfxSpeedFrom(lines);
    svc.BackCount = 0;
}

}  // namespace kelvorn

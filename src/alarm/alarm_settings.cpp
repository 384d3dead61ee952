// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarm/alarm_settings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "platform/atomic_file.h"
#include "platform/folder_listing.h"
#include "platform/lenient_number.h"
#include "platform/text_file.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

namespace {

const char* const kDefaultTime = "00:00:00";
constexpr int kDefaultVolume = 100;

bool flagFrom(const std::string& line) { return leadingNumber(line) == 1; }

// Volumes are 16-bit integers: rounded half to even, then held inside that range so
// that no hand-edited figure can overflow.
int volumeFrom(const std::string& line) {
    const double v = std::nearbyint(leadingNumber(line));
    return static_cast<int>(std::clamp(v, double{INT16_MIN}, double{INT16_MAX}));
}

// The print layout of a number: sign place (a blank or "-"), digits, one blank.
std::string printedNumber(int value) {
    const long magnitude = std::labs(static_cast<long>(value));
    return (value < 0 ? "-" : " ") + std::to_string(magnitude) + " ";
}

}  // namespace

void applyAlarmLines(KelvornSERVICE& svc, const std::vector<std::string>& lines) {
    if (lines.size() > 0) {
        svc.AlarmTime = lines[0].substr(0, lines[0].find(','));
        if (svc.AlarmTime.empty()) svc.AlarmTime = kDefaultTime;
    }
    if (lines.size() > 1) svc.AlarmOn = flagFrom(lines[1]);
    if (lines.size() > 2) svc.ShuffleOn = flagFrom(lines[2]);
    int* volumes[] = {&svc.VolNormal, &svc.VolAlarm, &svc.VolSleep};
    for (size_t i = 0; i < 3; ++i) *volumes[i] = lines.size() > 3 + i ? volumeFrom(lines[3 + i]) : kDefaultVolume;
}

std::vector<std::string> alarmLines(const KelvornSERVICE& svc) {
    return {svc.AlarmTime,
            svc.AlarmOn ? "1" : "0",
            svc.ShuffleOn ? "1" : "0",
            printedNumber(svc.VolNormal),
            printedNumber(svc.VolAlarm),
            printedNumber(svc.VolSleep)};
}

bool readAlarmSettings(KelvornSERVICE& svc, const std::string& workDir) {
    svc.AlarmTime = kDefaultTime;
    svc.AlarmOn = false;
    svc.ShuffleOn = false;
    svc.VolNormal = svc.VolAlarm = svc.VolSleep = kDefaultVolume;

    const std::string path = findFileNoCase(workDir, kAlarmSettingsFile);
    if (path.empty()) return false;
    std::vector<std::string> lines;
    readLines(path, lines);  // an unreadable file leaves the defaults
    applyAlarmLines(svc, lines);
    return true;
}

bool writeAlarmSettings(const KelvornSERVICE& svc, const std::string& workDir) {
    return writeLinesAtomic(settingsFilePath(workDir, kAlarmSettingsFile), alarmLines(svc));
}

int usableVolume(int volume) { return std::clamp(volume, 0, 100); }

}  // namespace kelvorn

// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpv/alarm_tone.h"

#include <unistd.h>

#include <QFile>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>

#include "platform/atomic_file.h"
#include "platform/private_folder.h"

namespace kelvorn {

namespace {

constexpr uint32_t kRate = 44100;
constexpr uint32_t kSeconds = 3;
constexpr uint32_t kDataBytes = kRate * kSeconds * 2;

// Little-endian, as everything in a WAV file.
void append(std::string& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xffu));
}

// The sample n of the tone: the first half of every second sounds.
int16_t sample(uint32_t n) {
    if (n % kRate >= kRate / 2) return 0;
    const double t = static_cast<double>(n) / kRate;
    return static_cast<int16_t>(std::lround(0.5 * INT16_MAX * std::sin(2 * std::numbers::pi * 880 * t)));
}

}  // namespace

std::string alarmToneWav() {
    std::string wav = "RIFF";
    append(wav, 36 + kDataBytes, 4);
    wav += "WAVEfmt ";
    append(wav, 16, 4);         // the format's size
    append(wav, 1, 2);          // PCM
    append(wav, 1, 2);          // mono
    append(wav, kRate, 4);      // samples a second
    append(wav, kRate * 2, 4);  // bytes a second
    append(wav, 2, 2);          // bytes a sample
    append(wav, 16, 2);         // bits a sample
    wav += "data";
    append(wav, kDataBytes, 4);
    for (uint32_t n = 0; n < kRate * kSeconds; ++n) append(wav, static_cast<uint16_t>(sample(n)), 2);
    return wav;
}

std::string alarmToneFile() {
    static std::string written;
    if (!written.empty() && ::access(written.c_str(), R_OK) == 0) return written;
    const std::string folder = QFile::encodeName(privateFolder()).toStdString();
    const std::string file = folder + "/kelvorn-alarm-tone.wav";
    written = !folder.empty() && writeFileAtomic(file, alarmToneWav()) ? file : std::string();
    return written;
}

}  // namespace kelvorn

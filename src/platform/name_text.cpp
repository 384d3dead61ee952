// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/name_text.h"

#include <QStringDecoder>
#include <algorithm>

namespace kelvorn {

QString decodeName(const std::string& bytes) {
    // Stateless, and a leading byte-order mark is kept as a character like any other.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) return text;
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace kelvorn

namespace kelvorn {

size_t extensionLength(std::string_view entry) {
    const size_t dot = entry.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || entry[dot - 1] == '/') return 0;
    const std::string_view extension = entry.substr(dot + 1);
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (extension.empty() || extension.size() > 4 || !std::any_of(extension.begin(), extension.end(), isLetter))
        return 0;
    const bool alphanumeric =
        std::all_of(extension.begin(), extension.end(), [&](char c) { return isLetter(c) || (c >= '0' && c <= '9'); });
    return alphanumeric ? extension.size() + 1 : 0;
}

QString entryText(const std::string& entry) {
    return decodeName(entry.substr(0, entry.size() - extensionLength(entry)));
}

}  // namespace kelvorn

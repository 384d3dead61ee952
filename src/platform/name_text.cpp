#include "platform/name_text.h"

#include <QStringDecoder>

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

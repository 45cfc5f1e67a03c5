#include "rawfile/RawText.h"

#include <QByteArray>
#include <QByteArrayView>

namespace {

bool isAscii(std::string_view bytes) {
    unsigned char any = 0;
    for (const char c : bytes) any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

// Whether the system's 8-bit encoding is UTF-8 (as on nearly every Linux and macOS system).
bool systemEncodingIsUtf8() {
    static const bool utf8 = QString::fromLocal8Bit("\xC3\xA9") == QString(QChar(0xE9));
    return utf8;
}

QString fromSystem8Bit(std::string_view bytes) {
    const auto size = static_cast<qsizetype>(bytes.size());
    return systemEncodingIsUtf8() ? QString::fromLatin1(bytes.data(), size)
                                  : QString::fromLocal8Bit(bytes.data(), size);
}

}  // namespace

QString decodeRawText(std::string_view bytes) {
    const auto size = static_cast<qsizetype>(bytes.size());
    if (isAscii(bytes)) return QString::fromLatin1(bytes.data(), size);
    if (QByteArrayView(bytes.data(), size).isValidUtf8()) return QString::fromUtf8(bytes.data(), size);
    return fromSystem8Bit(bytes);
}

std::string encodeRawText(const QString& text) {
    bool ascii = true;
    for (const QChar c : text) ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
        const QByteArray latin = text.toLatin1();
        return std::string(latin.constData(), static_cast<std::size_t>(latin.size()));
    }
    if (!systemEncodingIsUtf8()) {
        const QByteArray local = text.toLocal8Bit();
        const std::string_view bytes(local.constData(), static_cast<std::size_t>(local.size()));
        if (decodeRawText(bytes) == text) return std::string(bytes);
    }
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

bool rawTextEquals(std::string_view bytes, const QString& text) {
    if (isAscii(bytes)) {
        if (static_cast<std::size_t>(text.size()) != bytes.size()) return false;
        const QChar* chars = text.constData();
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (chars[i].unicode() != static_cast<unsigned char>(bytes[i])) return false;
        }
        return true;
    }
    return decodeRawText(bytes) == text;
}

#pragma once
// Texts of a raw survey file: 8-bit bytes in whatever encoding the controller wrote (Latin-1, GBK, UTF-8...).
//
// The window shows them decoded: as UTF-8 when the bytes are valid UTF-8, otherwise in the system's 8-bit
// encoding, or as Latin-1 where that encoding is itself UTF-8 (so that every byte still stands for one
// character and nothing turns into U+FFFD). Save as keeps the bytes of every text the user did not change
// (rawTextEquals) and encodes only edited texts (encodeRawText).
#include <QString>
#include <string>
#include <string_view>

// The text that bytes stand for, as shown in the window.
QString decodeRawText(std::string_view bytes);

// The bytes of an edited text: in the system's 8-bit encoding when it holds the text and decodeRawText
// gives the same text back from them, otherwise UTF-8 (which decodeRawText always reads back).
std::string encodeRawText(const QString& text);

// True when decodeRawText(bytes) equals text (without decoding when the bytes are ASCII).
bool rawTextEquals(std::string_view bytes, const QString& text);

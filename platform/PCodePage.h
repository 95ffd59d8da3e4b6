#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The program's texts are Windows-1252 bytes; the desktop, the clipboard and Linux
// file names speak Unicode (UTF-8). Everything that crosses between them goes through
// here.

// The byte that stands in for a character Windows-1252 cannot hold (one of the five
// bytes the code page leaves undefined, so no typed text contains it). It shows as
// U+FFFD.
constexpr uint8_t StandInByte = 0x81;

// Unicode of a Windows-1252 byte; the undefined bytes give U+FFFD.
uint32_t Cp1252ToUnicode(uint8_t byte);
// The Windows-1252 byte of a Unicode character, or 0 when there is none (U+FFFD gives
// the stand-in byte).
uint32_t UnicodeToCp1252(uint32_t code);

std::string Cp1252ToUtf8(const std::string& text);
// Malformed input and characters without a byte become the stand-in byte.
std::string Utf8ToCp1252(const std::string& text);
// For peers that only know Latin-1: bytes 0x80-0x9F become '?'.
std::string Cp1252ToLatin1(const std::string& text);

// A file name as the program shows it (Windows-1252, stand-ins for what it cannot show).
std::string TextFromFileName(const std::string& name);
// The file name a shown or typed text means; false when the text holds a stand-in,
// since the name it stood for is unknown and a guess could reach another file.
bool FileNameFromText(const std::string& text, std::string& name);

}  // namespace platform

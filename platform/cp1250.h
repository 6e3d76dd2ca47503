#pragma once
// Code page 1250 is the only text encoding inside the programs: every
// std::string of text holds cp1250 bytes (string literals too, by the
// compiler's execution charset). A path is no text: it holds the file
// system's bytes (platform/files.h). These are the only conversions to and
// from the outside: Qt strings at the widget boundary, UTF-8 for file-system
// names.
#include <QString>
#include <string>
#include <string_view>

namespace vektrano::platform {

// Unicode code point of one cp1250 byte. The five bytes the code page leaves
// undefined map to the C1 controls of the same number, so that every byte
// survives a round trip.
char32_t cp1250ToUnicode(unsigned char byte);

// cp1250 byte for a code point, or '?' when the code page has no such character.
char unicodeToCp1250(char32_t cp);

QString toQString(std::string_view cp1250);
// A character that cp1250 cannot hold becomes one "?"; a surrogate pair is one
// character.
std::string fromQString(const QString& text);

std::string cp1250ToUtf8(std::string_view cp1250);
std::string utf8ToCp1250(std::string_view utf8);

// A path (the file system's bytes, UTF-8) for Qt, and a path Qt gives back
// (a file dialog's choice, the command line), whatever its characters.
QString pathToQString(std::string_view path);
std::string pathFromQString(const QString& path);

}  // namespace vektrano::platform

#pragma once
// Character and path functions of the zip components: the Czech-aware upper
// case of code page 1250, the path splitters and the mask matching. A path
// separator is "\" as the Windows programs wrote it, or "/".
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vektrano::transfer {

// Upper case of one cp1250 character: the Czech and Slovak letters of the
// code page's table, then "a".."z"; anything else unchanged.
char UpCaseCz(char c);

std::string RepeatChar(char c, int n);  // empty for n <= 0
std::string SpaceString(int n);
std::string ReverseText(const std::string& text);

// True when the text has a "." and the text after the last "." holds no
// separator.
bool HasExtension(const std::string& text);
// Up to 3 characters after the last "." when HasExtension, else empty.
std::string ExtensionOf(const std::string& text);
// The text after the last separator (or, with none, after the last ":").
std::string NamePart(const std::string& text);
// The text before that separator, without it; empty when there is none.
std::string FolderPart(const std::string& text);
// NamePart up to its first ".".
std::string BaseNamePart(const std::string& text);

// "*" and "?" count as wildcards on both sides alike; other characters are
// compared after UpCaseCz.
bool WildcardMatch(const std::string& a, const std::string& b);
// Equal folders (exactly), base names and extensions matching by
// WildcardMatch.
bool MatchPathMask(const std::string& path, const std::string& mask);

// The ZIP checksum (reflected polynomial 0xEDB88320), continued from crc;
// start with 0.
uint32_t Crc32(uint32_t crc, const void* data, size_t len);
inline uint32_t Crc32(std::string_view data) { return Crc32(0, data.data(), data.size()); }

}  // namespace vektrano::transfer

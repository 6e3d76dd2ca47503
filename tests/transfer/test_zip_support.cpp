#include <gtest/gtest.h>

#include "transfer/zip_support.h"

using namespace vektrano::transfer;

TEST(ZipSupport, UpCaseCz) {
  const std::string lower = "üéďäčěĺľžôöůýťáíóúňšřŕaz";
  const std::string upper = "ÜÉĎÄČĚĹĽŽÔÖŮÝŤÁÍÓÚŇŠŘŔAZ";
  ASSERT_EQ(lower.size(), upper.size());
  for (size_t i = 0; i < lower.size(); ++i) EXPECT_EQ(UpCaseCz(lower[i]), upper[i]) << i;
  EXPECT_EQ(UpCaseCz('1'), '1');
  EXPECT_EQ(UpCaseCz('ß'), 'ß');  // not in the table
}

TEST(ZipSupport, TextAndPathSplitters) {
  EXPECT_EQ(RepeatChar('x', 3), "xxx");
  EXPECT_EQ(RepeatChar('x', 0), "");
  EXPECT_EQ(RepeatChar('x', -2), "");
  EXPECT_EQ(SpaceString(2), "  ");
  EXPECT_EQ(ReverseText("abc"), "cba");

  struct Case {
    std::string text, name, folder, base, ext;
    bool hasExt;
  };
  const Case cases[] = {
      {"C:\\data\\log.qvl", "log.qvl", "C:\\data", "log", "qvl", true},
      {"C:log.txt", "log.txt", "C", "log", "txt", true},
      {"dir/a.b.html", "a.b.html", "dir", "a", "htm", true},
      {"dir.x\\noext", "noext", "dir.x", "noext", "", false},
      {"plain", "plain", "", "plain", "", false},
      {"a/b\\c.", "c.", "a/b", "c", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(NamePart(c.text), c.name);
    EXPECT_EQ(FolderPart(c.text), c.folder);
    EXPECT_EQ(BaseNamePart(c.text), c.base);
    EXPECT_EQ(HasExtension(c.text), c.hasExt);
    EXPECT_EQ(ExtensionOf(c.text), c.ext);
  }
}

TEST(ZipSupport, MasksTable) {
  struct Case {
    const char* a;
    const char* b;
    bool wildcard;  // WildcardMatch(a, b)
  };
  const Case wild[] = {
      {"", "", true},         {"", "***", true},      {"*", "", true},       {"", "a", false},
      {"abc", "abc", true},   {"abc", "ABC", true},   {"žluťoučký", "ŽLUŤOUČKÝ", true},
      {"abc", "abd", false},  {"a?c", "abc", true},   {"abc", "a?c", true},  {"a*", "abcdef", true},
      {"abcdef", "a*f", true}, {"a*x", "abcdef", false}, {"*.*", "x", false}, {"abc", "ab", false},
      {"ab", "ab**", true},   {"a*b*c", "aXbYc", true}, {"a*b*c", "aXbY", false},
      {"**********************************x", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaay", false},
  };
  for (const Case& c : wild) EXPECT_EQ(WildcardMatch(c.a, c.b), c.wildcard) << c.a << " ~ " << c.b;

  const Case path[] = {
      {"/x/README", "/x/*.*", true},            // no extension: "" against "*"
      {"/x/log.qvl", "/x/*.*", true},
      {"/x/log.qvl", "/y/*.*", false},          // folders compared exactly
      {"/X/log.qvl", "/x/*.*", false},
      {"/x/Čáp.TXT", "/x/čáp.txt", true},
      {"/x/a.b.html", "/x/a.htm", true},        // text before the first dot, extension cut to 3
      {"/x/a.b.html", "/x/a.b.htm", true},
      {"/x/sub/a.txt", "/x/*.*", false},
      {"/x/a.txt", "/x/*.qvl", false},
  };
  for (const Case& c : path) EXPECT_EQ(MatchPathMask(c.a, c.b), c.wildcard) << c.a << " ~ " << c.b;
}

TEST(ZipSupport, Crc32KnownValues) {
  EXPECT_EQ(Crc32(""), 0u);
  EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(Crc32(Crc32("1234"), "56789", 5), 0xCBF43926u);
}

#include "core/search/memory_table_keys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace vektrano {
namespace {

// A table of rows whose words share beginnings of every length, with the
// separator in its first third, as the memory tables hold places and call
// signs.
MemoryTable makeTable(int rows) {
  const char* const parts[] = {"JO", "JN", "70", "OK", "1A", "B", "KO", "Z", ".", "_", "Š"};
  std::mt19937 rng(7);
  MemoryTable t;
  for (int r = 0; r < rows; ++r) {
    if (r == rows / 3) {
      t.push_back({"******", "******"});
      continue;
    }
    std::string cell;
    for (int w = 0, words = 1 + static_cast<int>(rng() % 4); w < words; ++w) {
      cell += ' ';
      for (int p = 0, n = 1 + static_cast<int>(rng() % 4); p < n; ++p) cell += parts[rng() % 11];
    }
    if (rng() % 5 == 0) cell += ' ';
    t.push_back({cell, "shown"});
  }
  return t;
}

// Every row that holds the word at a word start is among the rows to
// compare, in table order with the separator, whatever the word's length;
// a word of four characters leaves out nearly all of the others. A small
// table has fewer buckets, its two characters hashed like three and four.
TEST(MemoryTableKeys, RowsHoldEveryRowWithTheWord) {
  for (const int size : {3000, 40}) {
    SCOPED_TRACE(size);
    const MemoryTable table = makeTable(size);
    const std::uint32_t separator = static_cast<std::uint32_t>(size / 3);
    const MemoryTableKeys keys(table);
    std::set<std::string> words;
    for (const MemoryRow& row : table)
      for (size_t i = 0; i < row.cell0.size(); ++i)
        if (row.cell0[i] == ' ')
          for (size_t len = 2; len <= 7 && i + len < row.cell0.size(); ++len)
            words.insert(row.cell0.substr(i + 1, len));
    words.insert("QQ");
    words.insert("QQQQ");
    size_t compared = 0, holding = 0;
    for (const std::string& word : words) {
      if (!MemoryTableKeys::keyed(word)) continue;
      std::vector<std::uint32_t> expected;
      size_t separators = 0;
      for (std::uint32_t r = 0; r < table.size(); ++r)
        if (table[r].cell0 == "******")
          ++separators;
        else if (table[r].cell0.find(" " + word) != std::string::npos)
          expected.push_back(r);
      const std::vector<std::uint32_t> rows = keys.rows(word);
      ASSERT_TRUE(std::is_sorted(rows.begin(), rows.end())) << word;
      ASSERT_TRUE(std::includes(rows.begin(), rows.end(), expected.begin(), expected.end())) << word;
      ASSERT_TRUE(std::binary_search(rows.begin(), rows.end(), separator)) << word;
      EXPECT_EQ(keys.count(word), rows.size() - separators) << word;
      if (word.size() == 4) {
        compared += rows.size() - separators;
        holding += expected.size();
      }
    }
    EXPECT_LT(compared, holding + holding / 10);
  }
}

TEST(MemoryTableKeys, WordsTheKeysCannotNarrow) {
  for (const char* word : {"", "J", "J O", " JO", "JO7 "}) EXPECT_FALSE(MemoryTableKeys::keyed(word));
  for (const char* word : {"JO", "JO7", "JO70", "JO70 G"}) EXPECT_TRUE(MemoryTableKeys::keyed(word));
}

}  // namespace
}  // namespace vektrano

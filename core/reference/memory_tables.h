#pragma once
// Memory mode: the databases held as two-column tables instead of index
// files (SGvolacky, SGlokatory, SGsvatky). The searches read them from worker
// threads while a rebuild on the main thread replaces them, so a table is
// immutable once published and is swapped whole: a reader keeps the table it
// took for as long as it holds it.
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace vektrano {

class TabulkaSynonym;

struct MemoryRow {
  std::string cell0;  // what the searches compare against (folded)
  std::string cell1;  // what they show
};

using MemoryTable = std::vector<MemoryRow>;
using SharedTable = std::shared_ptr<const MemoryTable>;

// One published table; read and replaced from any thread. Never null.
class MemoryTableSlot {
 public:
  MemoryTableSlot();
  SharedTable get() const;
  void set(SharedTable table);  // null publishes an empty table
  int rowCount() const { return static_cast<int>(get()->size()); }

 private:
  mutable std::mutex mutex_;
  SharedTable table_;
};

// A calendar day.
struct Day {
  int year = 0, month = 0, day = 0;
};

// The row of a call-sign or place line: key = its first 6 characters, text =
// the line from its 8th character. Cell 0: " " + key + " " + the folded text
// cut before its first "("; cell 1: key + " " + text with every ";" as " - "
// and the first "- Nezjištěno" taken out.
MemoryRow databaseRow(std::string_view line);
// The row between the user's second database and the main one.
MemoryRow separatorRow();

// Whether a name-day line "DDMM;names" is loaded on `today`: the 29th of
// February only in a leap year.
bool nameDayLoaded(std::string_view line, const Day& today);
// The row of a name-day line: cell 0 " " + the Synonymuj folding of the line
// without its first 5 characters; cell 1 DD.MM + "-" + the names, then the
// days from `today` to that day of the current year (" +n" ahead, " -n"
// past, " *!*!*!*!*!*!" on the day); a key that is not a valid day gets no
// count. Without a synonym table the folding is the plain search folding.
MemoryRow nameDayRow(std::string_view line, const Day& today, const TabulkaSynonym* synonyms);

}  // namespace vektrano

#pragma once
// Editing side of the report table file (extension rep): the sort by
// distance and the checked save of the table window. Reading, the default
// table and the look-up are in core/reference/report_table.h.
#include <optional>
#include <string>

#include "core/reference/report_table.h"

namespace vektrano {

// Bubble sort by km as whole numbers: only a strictly greater km swaps, so
// equal distances keep their order. A row whose km is no whole number never
// swaps and stays where it is.
void sortujTabulkuReportu(TabulkaReportu& tabulka);

// The first row (from 0) whose km cell is not a whole number (an empty cell
// included), or nothing when every row has one.
std::optional<int> spatnaVzdalenost(const TabulkaReportu& tabulka);

enum class UlozeniReportu { Ulozeno, SpatnaVzdalenost, ChybaZapisu };

// Writes the table as 17 lines "km;report;" (CR LF) atomically. A table with a
// km cell that is no whole number is refused with a message naming the row
// and nothing is written; a write failure shows "Chyba I/O při ukládání
// souboru : " + path. Either way the file keeps its last good content. A ";"
// inside a cell is written as ",", since it would split the line.
UlozeniReportu ulozTabulkuReportu(const std::string& path, const TabulkaReportu& tabulka);

}  // namespace vektrano

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
// swaps and stays where it is; empty rows go to the end.
void sortujTabulkuReportu(TabulkaReportu& tabulka);

// A row whose two cells are empty (or blank): a short file leaves such rows,
// and they are neither refused nor written.
bool prazdnyRadekReportu(const RadekReportu& radek);

// The first row (from 0) that is not empty and whose km cell is not a whole
// number (an empty km cell beside a report included), or nothing.
std::optional<int> spatnaVzdalenost(const TabulkaReportu& tabulka);
// The refusal naming that row.
std::string zpravaSpatneVzdalenosti(const TabulkaReportu& tabulka, int radek);

enum class UlozeniReportu { Ulozeno, SpatnaVzdalenost, ChybaZapisu };

// Writes the table as one line "km;report;" (CR LF) per row that is not
// empty, atomically. A table with a km cell that is no whole number is
// refused with a message naming the row and nothing is written; a write failure shows "Chyba I/O při ukládání
// souboru : " + path. Either way the file keeps its last good content. A ";"
// inside a cell is written as ",", since it would split the line.
UlozeniReportu ulozTabulkuReportu(const std::string& path, const TabulkaReportu& tabulka);

}  // namespace vektrano

#pragma once
// The file dialogs of the log commands. Non-native Qt dialogs, so that
// entering a folder in the open dialog can rename old csv logs first.
#include <optional>
#include <string>

class QWidget;

namespace vektrano {

// Save dialog for New log / Save: starts in dataFolder proposing current.
// The chosen path (cp1250), or nothing when cancelled. A name whose ".qvl"
// file exists and is not current's asks before it is taken; No keeps the
// dialog open.
std::optional<std::string> zvolUlozeniDeniku(QWidget* parent, const std::string& title,
                                             const std::string& dataFolder,
                                             const std::string& current);

// Open dialog "Vyber deník pro otevření :"; every folder entered (and the
// first one) has its old csv logs renamed to qvl (CSVprejmenujQVL). A csv
// log whose ".qvl" name is taken by another file asks before it is opened,
// since its next save would replace that file.
std::optional<std::string> zvolOtevreniDeniku(QWidget* parent, const std::string& dataFolder,
                                              const std::string& current);

}  // namespace vektrano

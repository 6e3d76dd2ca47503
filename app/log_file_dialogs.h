#pragma once
// The file dialogs of the log commands. Non-native Qt dialogs, so that
// entering a folder in the open dialog can rename old csv logs first.
#include <optional>
#include <string>

class QWidget;

namespace vektrano {

// Save dialog for New log / Save: starts in dataFolder proposing current.
// The chosen path (cp1250), or nothing when cancelled.
std::optional<std::string> zvolUlozeniDeniku(QWidget* parent, const std::string& title,
                                             const std::string& dataFolder,
                                             const std::string& current);

// Open dialog "Vyber deník pro otevření :"; every folder entered (and the
// first one) has its old csv logs renamed to qvl (CSVprejmenujQVL).
std::optional<std::string> zvolOtevreniDeniku(QWidget* parent, const std::string& dataFolder,
                                              const std::string& current);

}  // namespace vektrano

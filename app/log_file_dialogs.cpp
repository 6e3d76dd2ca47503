#include "app/log_file_dialogs.h"

#include <QFileDialog>
#include <QStringList>

#include "core/log/log_file.h"
#include "platform/cp1250.h"

namespace vektrano {

namespace {

using platform::fromQString;
using platform::toQString;

// Qt's own dialog, never the desktop's: only it reports every folder entered.
void prepare(QFileDialog& d, const std::string& dataFolder, const std::string& current) {
  d.setOption(QFileDialog::DontUseNativeDialog, true);
  d.setDefaultSuffix(QStringLiteral("qvl"));
  if (!dataFolder.empty()) d.setDirectory(toQString(dataFolder));
  if (!current.empty()) d.selectFile(toQString(current));
}

std::optional<std::string> chosen(QFileDialog& d) {
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = d.selectedFiles();
  if (files.isEmpty() || files.front().isEmpty()) return std::nullopt;
  return fromQString(files.front());
}

}  // namespace

std::optional<std::string> zvolUlozeniDeniku(QWidget* parent, const std::string& title,
                                             const std::string& dataFolder,
                                             const std::string& current) {
  QFileDialog d(parent, toQString(title));
  d.setAcceptMode(QFileDialog::AcceptSave);
  d.setFileMode(QFileDialog::AnyFile);
  // The writer keeps the previous content as ".bak" anyway.
  d.setOption(QFileDialog::DontConfirmOverwrite, true);
  d.setNameFilters({toQString("Soubor deníku QVL (*.qvl)"), toQString("Výměnný soubor CSV (*.csv)")});
  prepare(d, dataFolder, current);
  return chosen(d);
}

std::optional<std::string> zvolOtevreniDeniku(QWidget* parent, const std::string& dataFolder,
                                              const std::string& current) {
  QFileDialog d(parent, toQString("Vyber deník pro otevření :"));
  d.setAcceptMode(QFileDialog::AcceptOpen);
  d.setFileMode(QFileDialog::ExistingFile);
  d.setNameFilters(
      {toQString("Soubor programu VEKTRANO (*.qvl)"), toQString("Výměnný soubor CSV (*.csv)")});
  QObject::connect(&d, &QFileDialog::directoryEntered,
                   [](const QString& folder) { CSVprejmenujQVL(fromQString(folder)); });
  prepare(d, dataFolder, current);
  // The starting folder counts as entered.
  CSVprejmenujQVL(fromQString(d.directory().absolutePath()));
  return chosen(d);
}

}  // namespace vektrano

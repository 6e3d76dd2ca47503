#include "app/log_file_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <filesystem>
#include <functional>

#include "core/log/log_file.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/gui/application.h"

namespace vektrano {

namespace {

using platform::toQString;

// A file dialog that lets a caller refuse the chosen name: the operator is
// asked inside the dialog, and No keeps it open for another name.
class LogFileDialog : public QFileDialog {
 public:
  using Check = std::function<bool(QWidget* dialog, const std::string& chosen)>;
  LogFileDialog(QWidget* parent, const QString& title, Check check)
      : QFileDialog(parent, title), check_(std::move(check)) {}

 protected:
  void accept() override {
    const QStringList files = selectedFiles();
    // A folder typed in is entered by the dialog itself.
    if (!files.isEmpty() && !files.front().isEmpty() && check_) {
      const std::string chosen = platform::pathFromQString(files.front());
      if (!platform::dirExists(chosen) && !check_(this, chosen)) return;
    }
    QFileDialog::accept();
  }

 private:
  Check check_;
};

bool sameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::error_code ec;
  return std::filesystem::equivalent(platform::fsPath(a), platform::fsPath(b), ec);
}

// The log is always written under its ".qvl" name. When that file exists and
// is not the one named by own, writing would replace another log: the
// operator decides. True when the name may be taken.
bool mayReplace(QWidget* dialog, const std::string& chosen, const std::string& own,
                const std::string& question) {
  const std::string target = logTargetName(chosen);
  if (!platform::fileExists(target) || (!own.empty() && sameFile(target, own))) return true;
  const std::string title = platform::applicationTitle();
  QMessageBox box(QMessageBox::Question, toQString(title.empty() ? "VEKTRANO" : title),
                  toQString("Soubor " + platform::pathText(target) + question),
                  QMessageBox::Yes | QMessageBox::No,
                  dialog);
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

// Qt's own dialog, never the desktop's: only it reports every folder entered.
void prepare(QFileDialog& d, const std::string& dataFolder, const std::string& current) {
  d.setOption(QFileDialog::DontUseNativeDialog, true);
  d.setDefaultSuffix(QStringLiteral("qvl"));
  if (!dataFolder.empty()) d.setDirectory(platform::pathToQString(dataFolder));
  if (!current.empty()) d.selectFile(platform::pathToQString(current));
}

std::optional<std::string> chosen(QFileDialog& d) {
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = d.selectedFiles();
  if (files.isEmpty() || files.front().isEmpty()) return std::nullopt;
  return platform::pathFromQString(files.front());
}

}  // namespace

std::optional<std::string> zvolUlozeniDeniku(QWidget* parent, const std::string& title,
                                             const std::string& dataFolder,
                                             const std::string& current) {
  const std::string own = current.empty() ? std::string() : logTargetName(current);
  LogFileDialog d(parent, toQString(title), [own](QWidget* dialog, const std::string& chosen) {
    return mayReplace(dialog, chosen, own,
                      " již existuje.\n\nPřepsat jej tímto deníkem ?");
  });
  d.setAcceptMode(QFileDialog::AcceptSave);
  d.setFileMode(QFileDialog::AnyFile);
  // The question above is about the ".qvl" file the log goes to, which for
  // a csv name is not the file Qt would ask about.
  d.setOption(QFileDialog::DontConfirmOverwrite, true);
  d.setNameFilters({toQString("Soubor deníku QVL (*.qvl)"), toQString("Výměnný soubor CSV (*.csv)")});
  prepare(d, dataFolder, current);
  return chosen(d);
}

std::optional<std::string> zvolOtevreniDeniku(QWidget* parent, const std::string& dataFolder,
                                              const std::string& current) {
  // An old csv log is written under its ".qvl" name from then on.
  LogFileDialog d(parent, toQString("Vyber deník pro otevření :"),
                  [](QWidget* dialog, const std::string& chosen) {
                    return mayReplace(dialog, chosen, chosen,
                                      " již existuje a deník otevřený z " +
                                          platform::pathText(chosen) +
                                          " by jej při uložení přepsal.\n\n"
                                          "Přesto deník otevřít ?");
                  });
  d.setAcceptMode(QFileDialog::AcceptOpen);
  d.setFileMode(QFileDialog::ExistingFile);
  d.setNameFilters(
      {toQString("Soubor programu VEKTRANO (*.qvl)"), toQString("Výměnný soubor CSV (*.csv)")});
  QObject::connect(&d, &QFileDialog::directoryEntered,
                   [](const QString& folder) { CSVprejmenujQVL(platform::pathFromQString(folder)); });
  prepare(d, dataFolder, current);
  // The starting folder counts as entered.
  CSVprejmenujQVL(platform::pathFromQString(d.directory().absolutePath()));
  return chosen(d);
}

}  // namespace vektrano

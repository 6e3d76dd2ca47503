#include "app/main_window_dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "app/log_file_dialogs.h"
#include "app/log_grid_delegate.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/gui/application.h"
#include "preview/gui/printer_setup.h"
#include "windows/folder_picker_window.h"

namespace vektrano {

namespace {

using platform::fromQString;
using platform::toQString;

// "Popis|*.htm|Jiný|*.x" as Qt's "Popis (*.htm);;Jiný (*.x)".
QStringList nameFilters(const std::string& filter) {
  QStringList out;
  const QStringList parts = toQString(filter).split('|');
  for (int i = 0; i + 1 < parts.size(); i += 2) out << parts[i] + " (" + parts[i + 1] + ")";
  return out;
}

std::optional<std::string> fileDialog(QWidget* parent, bool save, const std::string& title,
                                      const std::string& folder, const std::string& proposed,
                                      const std::string& extension, const std::string& filter) {
  QFileDialog d(parent, toQString(title));
  d.setOption(QFileDialog::DontUseNativeDialog, true);
  d.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  d.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  d.setNameFilters(nameFilters(filter));
  if (!extension.empty()) d.setDefaultSuffix(toQString(extension));
  if (!folder.empty()) d.setDirectory(platform::pathToQString(folder));
  if (!proposed.empty()) d.selectFile(platform::pathToQString(proposed));
  if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
  return platform::pathFromQString(d.selectedFiles().front());
}

}  // namespace

Form1Dialogs defaultDialogs(QWidget* parent) {
  Form1Dialogs d;
  d.saveFile = [parent](const std::string& title, const std::string& folder,
                        const std::string& proposed, const std::string& extension,
                        const std::string& filter) {
    return fileDialog(parent, true, title, folder, proposed, extension, filter);
  };
  d.saveFileOver = [parent](QWidget* over, const std::string& title, const std::string& folder,
                             const std::string& proposed, const std::string& extension,
                             const std::string& filter) {
    return fileDialog(over ? over : parent, true, title, folder, proposed, extension, filter);
  };
  d.openFile = [parent](const std::string& title, const std::string& folder,
                        const std::string& proposed, const std::string& extension,
                        const std::string& filter) {
    return fileDialog(parent, false, title, folder, proposed, extension, filter);
  };
  d.saveLog = [parent](const std::string& title, const std::string& folder,
                       const std::string& current) {
    return zvolUlozeniDeniku(parent, title, folder, current);
  };
  d.openLog = [parent](const std::string& folder, const std::string& current) {
    return zvolOtevreniDeniku(parent, folder, current);
  };
  d.inputText = [parent](const std::string& caption, const std::string& prompt,
                         const std::string& value) -> std::optional<std::string> {
    bool ok = false;
    const QString text = QInputDialog::getText(parent, toQString(caption), toQString(prompt),
                                               QLineEdit::Normal, toQString(value), &ok);
    if (!ok) return std::nullopt;
    return fromQString(text);
  };
  d.chooseFolder = [parent](const std::string& initial) -> std::optional<std::string> {
    TKRULBrowseDirectory picker(parent);
    picker.InitialFolder = initial;
    if (!picker.Execute()) return std::nullopt;
    return picker.ChosenFolder;
  };
  d.chooseColour = [parent](unsigned current) -> std::optional<unsigned> {
    const auto c = ColorDialog1(parent, static_cast<TColor>(current));
    if (!c) return std::nullopt;
    return static_cast<unsigned>(*c);
  };
  d.printerSetup = [parent] { return preview::ShowPrinterSetup(parent); };
  d.openDocument = [](const std::string& path) {
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(platform::pathToQString(platform::fromFsPath(platform::fsPath(path)))));
  };
  d.openUrl = [](const std::string& url) { QDesktopServices::openUrl(QUrl(toQString(url))); };
  d.startProgram = [](const std::string& program, const std::string& arguments) {
    QProcess::startDetached(platform::pathToQString(program),
                            QProcess::splitCommand(toQString(arguments)));
  };
  d.help = [](int topic) { platform::openHelp(topic); };
  return d;
}

}  // namespace vektrano

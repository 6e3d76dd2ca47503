#include "viewer/association.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <cstdlib>
#include <system_error>

#include "platform/files.h"
#include "platform/paths.h"

namespace vektrano::palomir {
namespace fs = std::filesystem;
namespace {

QString qPath(const fs::path& p) { return QFile::decodeName(p.c_str()); }

// Writes utf8 to p unless p already holds exactly that.
bool writeIfChanged(const fs::path& p, const std::string& utf8) {
  std::error_code ec;
  fs::create_directories(p.parent_path(), ec);
  const std::string name = platform::fromFsPath(p);
  if (const auto old = platform::readWholeFile(name); old && *old == utf8) return true;
  return platform::writeFileAtomic(name, utf8);
}

// Runs a tool when it is installed; its outcome does not matter.
void runTool(const char* tool, const QStringList& args) {
  const QString exe = QStandardPaths::findExecutable(QString::fromLatin1(tool));
  if (exe.isEmpty()) return;
  QProcess p;
  p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  p.setStandardOutputFile(QProcess::nullDevice());
  p.start(exe, args);
  if (!p.waitForFinished(30000)) {
    p.kill();
    p.waitForFinished(1000);
  }
}

}  // namespace

fs::path userDataHome() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg && fs::path(xdg).is_absolute()) return fs::path(xdg);
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : ".") / ".local" / "share";
}

const std::string& palomirIconSvg() {
  // A log book with its lines under a magnifying glass.
  static const std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" "
      "viewBox=\"0 0 64 64\">\n"
      "  <rect x=\"8\" y=\"4\" width=\"40\" height=\"54\" rx=\"3\" fill=\"#1f4fa0\"/>\n"
      "  <rect x=\"13\" y=\"8\" width=\"32\" height=\"46\" fill=\"#ffffff\"/>\n"
      "  <g stroke=\"#1f4fa0\" stroke-width=\"2\">\n"
      "    <line x1=\"17\" y1=\"16\" x2=\"41\" y2=\"16\"/>\n"
      "    <line x1=\"17\" y1=\"23\" x2=\"41\" y2=\"23\"/>\n"
      "    <line x1=\"17\" y1=\"30\" x2=\"41\" y2=\"30\"/>\n"
      "    <line x1=\"17\" y1=\"37\" x2=\"33\" y2=\"37\"/>\n"
      "  </g>\n"
      "  <circle cx=\"42\" cy=\"42\" r=\"10\" fill=\"#ffe680\" fill-opacity=\"0.6\" "
      "stroke=\"#c00000\" stroke-width=\"4\"/>\n"
      "  <line x1=\"49\" y1=\"49\" x2=\"60\" y2=\"60\" stroke=\"#c00000\" "
      "stroke-width=\"6\" stroke-linecap=\"round\"/>\n"
      "</svg>\n";
  return svg;
}

std::string mimePackageXml() {
  return std::string(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
             "  <mime-type type=\"") +
         kLogMimeType +
         "\">\n"
         "    <comment>Soubor programu Vektrano</comment>\n"
         "    <icon name=\"" + kIconName + "\"/>\n"
         "    <glob pattern=\"*.qvl\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

std::string desktopExecArgument(const std::string& utf8) {
  static const std::string reserved = " \t\n\"'\\><~|&;$*?#()`";
  bool quote = utf8.empty();
  std::string inner;
  for (char c : utf8) {
    if (reserved.find(c) != std::string::npos) quote = true;
    if (c == '"' || c == '`' || c == '$' || c == '\\') inner += '\\';
    if (c == '%') inner += '%';  // a literal percent sign is doubled
    inner += c;
  }
  std::string arg = quote ? "\"" + inner + "\"" : inner;
  // The value of a key escapes its backslashes once more.
  std::string out;
  for (char c : arg) {
    if (c == '\\') out += '\\';
    out += c;
  }
  return out;
}

std::string desktopEntry(const fs::path& program) {
  const std::string path = program.string();
  if (path.find_first_of("\r\n") != std::string::npos) return {};
  return std::string(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Palomir\n"
             "Comment=Soubor programu Vektrano\n"
             "Icon=") +
         kIconName +
         "\n"
         "Exec=" +
         desktopExecArgument(path) +
         " %f\n"
         "MimeType=" +
         kLogMimeType +
         ";\n"
         "Terminal=false\n"
         "NoDisplay=true\n";
}

fs::path installedDesktopEntry(const fs::path& program) {
  const std::string share = platform::installedShareFolder(platform::fromFsPath(program.parent_path()));
  const fs::path entry = platform::fsPath(share) / "applications" / kDesktopFileName;
  std::error_code ec;
  return fs::is_regular_file(entry, ec) ? entry : fs::path();
}

bool Registrace_Pripony(const fs::path& program, const fs::path& dataHome) {
  const bool installed = !installedDesktopEntry(program).empty();
  const std::string entry = desktopEntry(program);
  if (entry.empty() && !installed) return false;
  const fs::path mimeDir = dataHome / "mime";
  const fs::path appDir = dataHome / "applications";
  if (!writeIfChanged(mimeDir / "packages" / kMimePackageName, mimePackageXml())) return false;
  if (!installed && !writeIfChanged(appDir / kDesktopFileName, entry)) return false;
  // The type's icon by its own name and by the name of the MIME type, for
  // desktops that look it up either way.
  const fs::path icons = dataHome / "icons" / "hicolor" / "scalable";
  const std::string svgName = std::string(kIconName) + ".svg";
  std::string mimeIcon = kLogMimeType;
  for (char& c : mimeIcon)
    if (c == '/') c = '-';
  if (!writeIfChanged(icons / "apps" / svgName, palomirIconSvg()) ||
      !writeIfChanged(icons / "mimetypes" / (mimeIcon + ".svg"), palomirIconSvg()))
    return false;

  runTool("xdg-mime", {QStringLiteral("default"), QString::fromLatin1(kDesktopFileName),
                       QString::fromLatin1(kLogMimeType)});
  // The change notice: the databases the desktop reads.
  runTool("update-mime-database", {qPath(mimeDir)});
  runTool("update-desktop-database", {qPath(appDir)});
  runTool("gtk-update-icon-cache", {QStringLiteral("-q"), QStringLiteral("-t"),
                                    qPath(dataHome / "icons" / "hicolor")});
  return true;
}

}  // namespace vektrano::palomir

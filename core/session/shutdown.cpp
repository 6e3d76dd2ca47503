#include "core/session/shutdown.h"

#include <filesystem>
#include <system_error>

#include "core/log/log_file.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"

namespace vektrano {

std::string zpravaOtevrenaOkna(std::size_t count) {
  return "VEKTRANO nelze ukončit. Máš ještě otevřená některá okna, celkem : " +
         std::to_string(count) + " oken.";
}

ShutdownContext::ShutdownContext(LogDocument& log_, MainWindowSettings& settings_,
                                 ShutdownUi& ui_)
    : log(log_),
      settings(settings_),
      ui(ui_),
      programFolder(platform::programFolder()),
      executableFolder(platform::executableFolder()) {}

bool FormCloseQuery(ShutdownContext& ctx) {
  ctx.ulozenoJinam = false;
  if (ctx.startupEnded) return true;
  LogDocument& log = ctx.log;
  if (log.contactCount() < 1) return true;
  if (log.SaveFileName.size() >= 8) {
    ulozdata(log, log.SaveFileName);
    return true;
  }
  const std::string& dataFolder = ctx.settings.UlozisteDat;
  if (const std::optional<std::string> chosen = ctx.ui.askSaveName(log.SaveFileName, dataFolder)) {
    UlozJakoQVL(log, chosen, dataFolder);
  } else {
    // As Save does when cancelled; here the close must know the copy exists.
    ctx.ulozenoJinam =
        !bezpecnostniKopie(log, dataFolder, true, "Data deníku jsou uložena v souboru :").empty();
  }
  return true;
}

ZavreniVysledek FormClose(ShutdownContext& ctx) {
  ZavreniVysledek r;
  if (ctx.startupEnded) return r;
  LogDocument& log = ctx.log;

  if (!log.SaveFileName.empty())
    r.denikUlozen = ulozdata(log, log.SaveFileName);
  else
    r.denikUlozen = log.contactCount() < 1 || ctx.ulozenoJinam;

  // The crash backup is the only other copy of the contacts while the log
  // could not be written.
  if (r.denikUlozen) {
    std::error_code ec;
    std::filesystem::remove(platform::fsPath(log.ZalohaFileName), ec);
    r.zalohaSmazana = !platform::fileExists(log.ZalohaFileName);
  } else if (platform::fileExists(log.ZalohaFileName)) {
    platform::showMessage("Deník se nepodařilo uložit, jeho data zůstávají v záloze :\r\n\r\n" +
                              platform::pathText(log.ZalohaFileName),
                          platform::MessageKind::Warning);
  }

  MainWindowSettings& s = ctx.settings;
  ctx.ui.collectSettings(s);
  s.SaveFileName = log.SaveFileName;
  s.Lokportable = log.lokportable;
  s.Poprve = false;
  r.nastaveniZapsano = writeMainWindowSettings(s, ctx.executableFolder, ctx.settingsKey, ctx.programFolder);
  return r;
}

}  // namespace vektrano

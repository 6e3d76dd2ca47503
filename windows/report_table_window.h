#pragma once
// The report table window: the 17 rows of the distance-to-report table in a
// fixed grid under the title row "km", "report". Closing sorts and saves
// (no question; empty rows are left out); a distance that is no whole
// number asks whether to close without saving. The main window reads the
// table at its next start.
#include <QPointer>
#include <string>

#include "core/base/grid.h"
#include "core/reference/report_table.h"
#include "windows/base/tool_window.h"

class QLabel;

namespace vektrano {

class GridTableModel;
class ListView;

// The report table: which reports Enter fills in for which distance.
class TForm8 : public ToolWindow {
  Q_OBJECT
 public:
  // repPath: the program's data file with the extension rep.
  explicit TForm8(std::string repPath, QWidget* parent = nullptr);
  ~TForm8() override;

  const Grid& grid() const { return grid_; }
  Grid& grid() { return grid_; }
  ListView* view() { return view_; }

  // Rows 1 to 17 of the grid and back.
  TabulkaReportu tabulka() const;
  void setTabulka(const TabulkaReportu& t);

  void nactidata();
  void sortuj();
  // False when nothing was written (a km that is no whole number, or a
  // write error; the message has been shown).
  bool ulozdata();

 protected:
  bool queryClose() override;

 private:
  std::string path_;
  Grid grid_;
  GridTableModel* model_ = nullptr;
  ListView* view_ = nullptr;
};

extern QPointer<TForm8> Form8;

// Creates the window on first use, then shows it in front.
TForm8* openForm8(const std::string& repPath, QWidget* parent = nullptr);

}  // namespace vektrano

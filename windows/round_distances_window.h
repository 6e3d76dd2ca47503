#pragma once
// The round-distance window: the own locator and up to seven participants of
// a round, each with its distance to the counter station's locator. Stays on
// top; F1 or Escape closes it; the participants' rows are kept under its
// settings key and come back at the next opening.
#include <QPointer>
#include <array>
#include <functional>
#include <string>

#include "core/tools/round_distances.h"
#include "windows/base/tool_window.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace vektrano {

// The round distances: a table of distances between the stations of a round.
class TForm5 : public ToolWindow {
  Q_OBJECT
 public:
  // keyboard: the main window's digit-row option at the moment of asking.
  explicit TForm5(std::function<KeyboardOptions()> keyboard, QWidget* parent = nullptr);
  ~TForm5() override;

  // Edit1 := own, Edit2 := counter, then everything recomputed.
  void startform5(const std::string& own, const std::string& counter);
  void prepocty();

  const Kolecko& kolecko() const { return k_; }
  QLineEdit* lokator(int box) const { return edits_[box]; }       // Edit1 .. Edit9
  QLabel* vzdalenost(int row) const { return labels_[row]; }      // Label1 .. Label8
  QPlainTextEdit* poznamka(int i) const { return memos_[i]; }     // Memo1 .. Memo7
  std::string status() const;

  // Stores the placement and the participants' texts.
  void UlozDoRegistru();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void editChanged(int box);
  void zobraz();

  std::function<KeyboardOptions()> keyboard_;
  Kolecko k_;
  std::array<QLineEdit*, kKoleckoPolicek> edits_{};
  std::array<QLabel*, kKoleckoRadku> labels_{};
  std::array<QPlainTextEdit*, kKoleckoPoznamek> memos_{};
  QLabel* status_ = nullptr;
  bool showing_ = false;
};

extern QPointer<TForm5> Form5;

// Every opening (menu, F1, Ctrl+F1, after a contact): creates the window when
// it does not exist, shows it in front and fills it as `startform5` does.
TForm5* openForm5(const std::string& own, const std::string& counter,
                  std::function<KeyboardOptions()> keyboard, QWidget* parent = nullptr);

// Ctrl+F1 switching the automatic opening off: a visible window is closed
// (its rows are stored as by any closing).
void releaseForm5();

}  // namespace vektrano

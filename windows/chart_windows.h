#pragma once
// The two chart windows: the pie of the contacts per big locator square and
// the contacts per hour over the first day of the log, each saved as BMP or
// JPEG. Both stay on top, are created by their filling command and freed
// when closed.
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "core/log/log.h"
#include "core/pictures/charts.h"
#include "windows/base/tool_window.h"
#include "windows/map_pictures.h"

class QAreaSeries;
class QCategoryAxis;
class QChart;
class QChartView;
class QCheckBox;
class QLineSeries;
class QPieSeries;
class QPushButton;

namespace vektrano {

struct ChartHooks {
  std::function<std::string()> dataFolder;  // UlozisteDat
};

// The chart window of the contacts per big locator square.
class TForm9 : public ToolWindow {
  Q_OBJECT
 public:
  explicit TForm9(ChartHooks hooks, QWidget* parent = nullptr);
  ~TForm9() override;

  void vycisti();  // title and series emptied
  void naplnit(const GrafCtvercu& g, const std::string& own);
  void BitBtn1Click();  // BMP
  void BitBtn2Click();  // JPEG (the chart also goes to the clipboard)

  QChart* chart() const { return chart_; }
  QPieSeries* Series1() const { return series_; }
  QChartView* Chart1() const { return view_; }
  QPushButton* tlacitko(int n) const { return n == 1 ? BitBtn1 : BitBtn2; }

 private:
  void vejdouSePopisy();

  ChartHooks hooks_;
  std::string own_;
  QChartView* view_ = nullptr;
  QChart* chart_ = nullptr;
  QPieSeries* series_ = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
};

// The chart window of the contacts per hour.
class TForm21 : public ToolWindow {
  Q_OBJECT
 public:
  explicit TForm21(ChartHooks hooks, QWidget* parent = nullptr);
  ~TForm21() override;

  void vycisti();
  void naplnit(const GrafHodin& g, const std::string& own);
  void BitBtn1Click();
  void BitBtn2Click();

  QChart* chart() const { return chart_; }
  QChartView* Chart1() const { return view_; }
  // The drawn series: one area per step from a point to the next.
  std::vector<QAreaSeries*> plochy() const;
  QLineSeries* znacky() const { return marks_; }  // the value marks
  QStringList popisyOsy() const;                 // the category labels
  QCheckBox* tvarGrafu() const { return CheckBox1; }
  QCheckBox* poctySpojeni() const { return CheckBox2; }
  QCheckBox* barvy() const { return CheckBox3; }
  QPushButton* tlacitko(int n) const { return n == 1 ? BitBtn1 : BitBtn2; }

 private:
  void prekresli();

  ChartHooks hooks_;
  std::string own_;
  std::vector<BodGrafu> body_;
  QChartView* view_ = nullptr;
  QChart* chart_ = nullptr;
  QLineSeries* marks_ = nullptr;
  QCategoryAxis* axisX_ = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QCheckBox* CheckBox2 = nullptr;
  QCheckBox* CheckBox3 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
};

extern QPointer<TForm9> Form9;
extern QPointer<TForm21> Form21;

// "Počtu spojení do velkých čtverců lokátorů": refused with a message for
// fewer than 5 contacts (no window); else the window created when needed,
// cleared and filled.
TForm9* Spojendovelkchtverc1Click(const LogDocument& log, ChartHooks hooks,
                                  QWidget* parent = nullptr);
// "Počtu spojení v závislosti na času": refused for fewer than 2 contacts;
// else the window shown and cleared, then the message for a log without
// times, or the chart and the message for rows without a time.
TForm21* Potuspojenvzvislostinaasu1Click(const LogDocument& log, ChartHooks hooks,
                                         QWidget* parent = nullptr);

// The chart as a picture of its current size.
QImage obrazekGrafu(QChartView* view);

}  // namespace vektrano

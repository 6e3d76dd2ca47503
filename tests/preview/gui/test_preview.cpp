// The preview control and the controls that follow it: zoom and fitting,
// the messages (none inside an update), navigator enabling, thumbnails and
// the property combo box.
#include "preview/gui/preview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "preview/font_mapper.h"
#include "preview/grid_print.h"
#include "preview/gui/page_navigator.h"
#include "preview/gui/property_combo_box.h"
#include "preview/gui/thumbnails.h"
#include "tests/preview/fake_print_device.h"

namespace vektrano::preview {
namespace {

class Recorder : public QWidget, public TPvPreviewListener {
 public:
  using QWidget::QWidget;
  std::vector<int> messages;
  bool gone = false;
  void PreviewMessage(int m) override { messages.push_back(m); }
  QWidget* ListenerWidget() override { return this; }
  void PreviewDestroyed() override { gone = true; }
};

class Rows : public TPvStringGrid {
 public:
  explicit Rows(int n) : n_(n) {}
  int ColCount() const override { return 2; }
  int RowCount() const override { return n_ + 1; }
  int FixedCols() const override { return 0; }
  int FixedRows() const override { return 1; }
  std::string Cell(int col, int row) const override {
    return row == 0 ? (col ? "Volačka" : "Č.") : (col ? "OK" + std::to_string(row) : std::to_string(row));
  }
  int ColWidth(int) const override { return 200; }
  int RowHeight(int) const override { return 24; }

 private:
  int n_;
};

class Preview : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFontMapperMeasurer(std::make_unique<FixedWidthMeasurer>());
    SetPrintDeviceFactory([this] { return test::fakeDevice(dev); });
    window.resize(900, 700);
    preview = new TPvPreview(&window);
    preview->setGeometry(0, 0, 600, 700);
    SetPrintDeviceFactory({});
  }
  // Lays n rows under a title onto the preview, as the print window does.
  void layOut(int n) {
    rows = std::make_unique<Rows>(n);
    grid.Grid = rows.get();
    grid.SetPreview(&preview->PageList());
    grid.PrintGridToPreview(pvPixels, 40, 100, 0);
  }

  test::FakePrintDevice* dev = nullptr;
  QWidget window;
  TPvPreview* preview = nullptr;
  TPvGridPrint grid;
  std::unique_ptr<Rows> rows;
};

TEST_F(Preview, ZoomStepsLimitsAndFitting) {
  EXPECT_EQ(preview->Zoom(), 20);
  preview->ZoomIn();
  EXPECT_EQ(preview->Zoom(), 30);
  preview->SetZoom(20);
  preview->ZoomOut();
  EXPECT_EQ(preview->Zoom(), 14);
  preview->SetZoom(7);
  preview->ZoomOut();
  EXPECT_EQ(preview->Zoom(), 7);
  preview->SetZoom(400);
  preview->ZoomIn();
  EXPECT_EQ(preview->Zoom(), 400);
  preview->SetZoom(9999);
  EXPECT_EQ(preview->Zoom(), 400);

  preview->SetMaxZoom(3);
  EXPECT_EQ(preview->MaxZoom(), 5);
  EXPECT_EQ(preview->Zoom(), 5);
  preview->SetMaxZoom(400);
  preview->SetMinZoom(0);
  EXPECT_EQ(preview->MinZoom(), 1);
  preview->SetZoom(0);
  EXPECT_EQ(preview->Zoom(), 1);

  // A tall window: the width is what limits the whole page.
  preview->setGeometry(0, 0, 400, 1400);
  preview->FitWholePage();
  FitInput in{400, 1400, {30, 30, 30, 30}, 210 / 25.4L, 297 / 25.4L};
  EXPECT_EQ(preview->Zoom(), FitWidthZoom(in));
  EXPECT_LT(FitWidthZoom(in), FitHeightZoom(in));
  preview->FitHeight();
  EXPECT_EQ(preview->Zoom(), FitHeightZoom(in));

  // The scroll range is the page at the zoom with the gutter round it.
  preview->SetZoom(100);
  const IntPoint px = preview->PaperImage()->Image().PageSizeInPixels(96);
  EXPECT_EQ(preview->PaperImage()->width(), px.x + 60);
  EXPECT_EQ(preview->PaperImage()->height(), px.y + 60);
}

TEST_F(Preview, ControlsHearNothingInsideAnUpdate) {
  Recorder attached(&window), orphan;
  preview->AddControl(&attached);
  preview->AddControl(&attached);  // once only
  preview->AddControl(&orphan);    // no parent: never told
  layOut(200);
  EXPECT_EQ(attached.messages, (std::vector<int>{pvmBeginUpdate, pvmEndUpdate}));
  EXPECT_GT(preview->NumPages(), 3);
  EXPECT_TRUE(orphan.messages.empty());

  attached.messages.clear();
  preview->FirstPage();
  EXPECT_EQ(attached.messages, std::vector<int>{pvmCurrentPage});
  attached.messages.clear();
  preview->NewPage();
  EXPECT_EQ(attached.messages, (std::vector<int>{pvmPageCount, pvmPagesChanged, pvmCurrentPage}));
  attached.messages.clear();
  preview->Clear();
  EXPECT_EQ(attached.messages, (std::vector<int>{pvmCleared, pvmPageCount, pvmPagesChanged}));
  EXPECT_EQ(preview->NumPages(), 1);
  attached.messages.clear();
  preview->SetPaperSize(A5);
  EXPECT_EQ(attached.messages, (std::vector<int>{pvmBeginUpdate, pvmEndUpdate}));
  attached.messages.clear();
  preview->SetPagesPerSheet(pvFourPage);
  EXPECT_EQ(attached.messages, std::vector<int>{pvmPagesPerSheet});

  preview->RemoveControl(&attached);
  attached.messages.clear();
  preview->NextPage();
  preview->NewPage();
  EXPECT_TRUE(attached.messages.empty());

  Recorder last(&window);
  preview->AddControl(&last);
  delete preview;
  EXPECT_TRUE(last.gone);
}

TEST_F(Preview, PrintsEveryPageAndReportsProgress) {
  layOut(100);
  std::vector<int> progress;
  preview->OnPrintProgress = [&](TPvPreview&, int printed, int) { progress.push_back(printed); };
  Recorder attached(&window);
  preview->AddControl(&attached);
  ASSERT_TRUE(preview->Print());
  EXPECT_EQ(static_cast<int>(dev->sheets.size()), preview->NumPages());
  EXPECT_EQ(static_cast<int>(progress.size()), preview->NumPages());
  EXPECT_EQ(attached.messages, (std::vector<int>{pvmBeginUpdate, pvmEndUpdate}));
}

TEST_F(Preview, NavigatorFollowsThePreview) {
  TPvPageNavigator nav(&window);
  for (int i = 0; i < kNavButtonCount; ++i) EXPECT_FALSE(nav.Button(static_cast<TPvNavigateBtn>(i))->isEnabled());
  nav.SetPreview(preview);
  for (auto b : {pvFirstPage, pvPrevPage, pvNextPage, pvLastPage}) EXPECT_FALSE(nav.Button(b)->isEnabled()) << b;
  EXPECT_TRUE(nav.Button(pvDeletePage)->isEnabled());
  EXPECT_TRUE(nav.Button(pvZoomIn)->isEnabled());

  // During a layout the whole bar is off; after it the buttons say where
  // the current page is (the last one laid).
  bool offMeanwhile = false;
  grid.AfterDrawRow = [&](TPvAbstractGridPrint&, int) { offMeanwhile = offMeanwhile || !nav.isEnabled(); };
  layOut(200);
  EXPECT_TRUE(offMeanwhile);
  EXPECT_TRUE(nav.isEnabled());
  EXPECT_TRUE(nav.Button(pvFirstPage)->isEnabled());
  EXPECT_FALSE(nav.Button(pvNextPage)->isEnabled());

  QTest::mouseClick(nav.Button(pvFirstPage), Qt::LeftButton);
  EXPECT_EQ(preview->CurrentPageNumber(), 1);
  EXPECT_FALSE(nav.Button(pvPrevPage)->isEnabled());
  EXPECT_TRUE(nav.Button(pvLastPage)->isEnabled());
  QTest::mouseClick(nav.Button(pvNextPage), Qt::LeftButton);
  EXPECT_EQ(preview->CurrentPageNumber(), 2);

  preview->SetZoom(350);
  QTest::mouseClick(nav.Button(pvZoomIn), Qt::LeftButton);
  EXPECT_EQ(preview->Zoom(), 400);
  EXPECT_FALSE(nav.Button(pvZoomIn)->isEnabled());
  QTest::mouseClick(nav.Button(pvActualSize), Qt::LeftButton);
  EXPECT_EQ(preview->Zoom(), 100);
  EXPECT_TRUE(nav.Button(pvZoomIn)->isEnabled());

  std::vector<TPvNavigateBtn> clicked;
  nav.OnClickButton = [&](TPvPageNavigator&, TPvNavigateBtn b) { clicked.push_back(b); };
  const int pages = preview->NumPages();
  QTest::mouseClick(nav.Button(pvDeletePage), Qt::LeftButton);
  EXPECT_EQ(preview->NumPages(), pages - 1);
  EXPECT_EQ(clicked, std::vector<TPvNavigateBtn>{pvDeletePage});

  // The print window's bar: no Add Page and no Clear.
  nav.SetVisibleButtons(kAllNavButtons & ~navBit(pvAddPage) & ~navBit(pvClear));
  EXPECT_TRUE(nav.Button(pvAddPage)->isHidden());
  EXPECT_FALSE(nav.Button(pvFitWidth)->isHidden());
  EXPECT_EQ(nav.NeededSize(), QSize(11 * 34 + 3 * 8 + 18, 50));
}

TEST_F(Preview, ThumbnailsOneAPage) {
  TPvThumbnails thumbs(&window);
  thumbs.Layout = pvThumbVert;
  thumbs.SetPreview(preview);
  EXPECT_EQ(thumbs.Count(), 1);
  layOut(200);
  ASSERT_EQ(thumbs.Count(), preview->NumPages());
  EXPECT_EQ(thumbs.Selected(), preview->NumPages());

  const TPvThumbGeometry g = ThumbnailGeometry(210 / 25.4L, 297 / 25.4L, 4, 8, true, thumbs.CaptionFont.height);
  for (int i = 0; i < thumbs.Count(); ++i) {
    EXPECT_EQ(thumbs.Thumbnail(i)->geometry(), QRect(0, i * (g.height - 1), g.width, g.height)) << i;
    EXPECT_EQ(thumbs.Thumbnail(i)->Image().Zoom(), 6);
  }

  QTest::mouseClick(thumbs.Thumbnail(2), Qt::LeftButton);
  EXPECT_EQ(preview->CurrentPageNumber(), 3);
  EXPECT_EQ(thumbs.Selected(), 3);

  // While an update is open they wait, then they are made anew.
  preview->BeginUpdate();
  EXPECT_TRUE(thumbs.Updating());
  preview->NewPage();
  EXPECT_EQ(thumbs.Count(), preview->NumPages() - 1);
  preview->EndUpdate();
  EXPECT_FALSE(thumbs.Updating());
  EXPECT_EQ(thumbs.Count(), preview->NumPages());

  // Painted, a thumbnail shows its page number under the page.
  thumbs.PageCaptions = "#";
  QImage shot = thumbs.Thumbnail(2)->grab().toImage();
  EXPECT_FALSE(shot.isNull());

  preview->Clear();
  EXPECT_EQ(thumbs.Count(), 1);
  // The shared shadow reaches the thumbnails there are now, none freed.
  thumbs.Shadow().SetWidth(3);
  EXPECT_EQ(thumbs.Thumbnail(0)->Image().Shadow()->Width(), 3);
}

TEST_F(Preview, PropertyComboBoxListsPapersAndPrinters) {
  TPvPropertyComboBox combo(&window);
  combo.SetPreviewProperty(pvPaperList);
  combo.OnAddItem = [](TPvPropertyComboBox&, const std::string& name, bool& add) { add = name != "Legal"; };
  combo.SetPreview(preview);
  EXPECT_EQ(combo.count(), 17);
  EXPECT_EQ(combo.currentText(), QStringLiteral("A4"));
  combo.Choose(combo.findText(QStringLiteral("A5")));
  EXPECT_EQ(preview->PaperSize(), A5);
  EXPECT_NEAR(double(preview->PageSize(pvMillimeters).X), 148.5, 1e-9);

  TPvPropertyComboBox printers(&window);
  printers.SetPreview(preview);
  EXPECT_EQ(printers.count(), 1);
  EXPECT_EQ(printers.currentText(), QStringLiteral("Laser"));
}

}  // namespace
}  // namespace vektrano::preview

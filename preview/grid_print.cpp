#include "preview/grid_print.h"

#include <algorithm>
#include <functional>

namespace vektrano::preview {

namespace {

// The inner padding of every cell's text box, inches.
constexpr Extended kCellPadding = 0.025L;

}  // namespace

Extended TPvDecimalList::Total() const {
  Extended t = 0;
  for (Extended v : items_) t += v;
  return t;
}

std::vector<Extended> FitColumnWidths(std::vector<Extended> widths, Extended available) {
  Extended total = 0;
  for (Extended w : widths) total += std::max<Extended>(w, 0);
  if (available <= 0 || total <= available) return widths;
  std::vector<Extended> sorted = widths;
  std::sort(sorted.begin(), sorted.end(), std::greater<>());
  // The k widest come down to a cap that is still at least the next width.
  Extended rest = total;
  Extended cap = 0;
  for (size_t k = 1; k <= sorted.size(); ++k) {
    rest -= std::max<Extended>(sorted[k - 1], 0);
    cap = (available - rest) / static_cast<Extended>(k);
    if (k == sorted.size() || cap >= sorted[k]) break;
  }
  for (Extended& w : widths) w = std::min(w, cap);
  return widths;
}

TPvAbstractGridPrint::TPvAbstractGridPrint() {
  font_.name = "Arial";
  font_.setSize(8);
  fixedFont_ = font_;
}

void TPvAbstractGridPrint::SetPreview(TPvPageList* preview) {
  preview_ = preview;
  if (preview_)
    BottomReserve.SetInches(preview_->Footer.BandHeight(pvInches) + preview_->Margins.Bottom().Inches());
}

int TPvAbstractGridPrint::GetRowCount() {
  if (rowCount_ < 0) rowCount_ = ReadRowCount();
  return rowCount_;
}

Extended TPvAbstractGridPrint::printableBottom() const {
  const TPvPage* page = preview_->CurrentPage();
  const Extended height = page ? page->HeightInches() : preview_->PageHeight();
  return height - (preview_->Footer.BandHeight(pvInches) + BottomReserve.Inches());
}

void TPvAbstractGridPrint::CalcColWidths() {
  widths_.Clear();
  for (int c = 0; c < GetColCount(); ++c) {
    TPvValue w;
    w.SetInches(scale_ * GetColWidth(c));
    if (OnGetColWidth) OnGetColWidth(*this, c, w);
    widths_.Add(w.Inches());
  }
  gridWidth_ = widths_.Total();
}

Extended TPvAbstractGridPrint::GetRowHeight(int row) {
  TPvValue h;
  h.SetInches(GetGridRowHeight(row));
  if (OnGetRowHeight) OnGetRowHeight(*this, row, h);
  Extended height = h.Inches();
  TPvCanvas& canvas = preview_->Canvas;
  canvas.WordWrap = WordWrap;
  const CanvasFont before = canvas.Font;
  for (int c = 0; c < GetColCount(); ++c) {
    const std::string text = GetCellText(c, row);
    if (text.empty()) continue;
    // Measured in the font the cell is drawn in.
    canvas.Font = fontOf(c, row);
    height = std::max(height, canvas.TextBoxHeight(text, pvInches, widths_.Item(c), kCellPadding));
  }
  canvas.Font = before;
  return height;
}

void TPvAbstractGridPrint::DrawGridBorder(const TPvRectExt& lastRow) {
  if (!(GridOptions & pvGridBorder) || !rowOnPage_) return;
  TPvCanvas& canvas = preview_->Canvas;
  canvas.Brush.style = bsClear;
  canvas.Pen = CanvasPen{};
  canvas.Pen.color = CellPenColor;
  canvas.Rectangle(pvInches, origin_.X, origin_.Y, lastRow.Right, lastRow.Bottom);
}

void TPvAbstractGridPrint::DrawRow(const TPvRectExt& rect, int row) {
  TPvCanvas& canvas = preview_->Canvas;
  Extended x = rect.Left;
  const int cols = GetColCount();
  for (int c = 0; c < cols; ++c) {
    const Extended w = widths_.Item(c);
    const TPvRectExt cell{x, rect.Top, x + w, rect.Bottom};
    const bool fixed = IsFixedCell(c, row);
    canvas.Font = fixed ? fixedFont_ : font_;
    // A colour given to a brush makes it solid, as on any canvas.
    canvas.Brush = {fixed ? GetFixedColor() : clWhite, bsSolid};
    if (HasDrawCellHandler()) {
      DrawCell(c, row, cell);
    } else {
      if (!Monochrome && canvas.Brush.color != clWhite && canvas.Brush.style != bsClear) {
        canvas.Pen.style = psClear;
        canvas.Rectangle(pvInches, cell.Left, cell.Top, cell.Right, cell.Bottom);
      }
      const std::string text = GetCellText(c, row);
      if (!text.empty()) {
        int align = DefaultCellAlignment;
        TPvVertAlignment valign = DefaultCellVertAlignment;
        if (OnGetCellAlignment) OnGetCellAlignment(*this, c, row, align, valign);
        canvas.Pen.style = psClear;
        canvas.Brush.style = bsClear;
        canvas.WordWrap = false;
        TPvTextBoxObject* box =
            canvas.TextBox(text, align, cell.Left, cell.Top, cell.Right, cell.Bottom, kCellPadding, valign, pvInches);
        box->SetWordBreak(WordWrap);
        box->SetCT(true);
      }
    }
    x += w;
  }
  canvas.Pen = CanvasPen{};
  canvas.Pen.color = CellPenColor;
  if ((GridOptions & pvHorzLine) && row != 0) canvas.Line(pvInches, rect.Left, rect.Top, rect.Right, rect.Top);
  if (GridOptions & pvVertLine) {
    x = rect.Left;
    for (int c = 0; c < cols; ++c) {
      if (c != 0) canvas.Line(pvInches, x, rect.Top, x, rect.Bottom);
      x += widths_.Item(c);
    }
  }
  rowOnPage_ = true;
}

void TPvAbstractGridPrint::NewGridPage() {
  DrawGridBorder(lastRow_);
  if (preview_->CurrentPageNumber() < preview_->Count())
    preview_->SetCurrentPage(preview_->CurrentPageNumber() + 1);
  else
    preview_->AddPage();
  rowOnPage_ = false;
  if (OnGridNewPage) OnGridNewPage(*this, TopValue, BottomReserve);
  x_ = origin_.X;
  y_ = TopValue.Inches();
  origin_ = {x_, y_};
  // The title row goes on top of the new page, unless it is the row that
  // moved here.
  if (placing_ != 0 && GetRowCount() > 0) {
    const Extended h0 = GetRowHeight(0);
    const TPvRectExt r{x_, y_, x_ + gridWidth_, y_ + h0};
    DrawRow(r, 0);
    lastRow_ = r;
    y_ += h0;
  }
}

void TPvAbstractGridPrint::PrintGridToPreview(TPvMeasurement m, Extended x, Extended y, Extended width) {
  if (!preview_) {
    ShowPvError(ClassName(), "The \"Preview\" property must be set to a TPvPreview component");
    return;
  }
  if (!HasGrid()) {
    ShowPvError(ClassName(), "The \"Grid\" property must be set to a valid grid component\"");
    return;
  }
  rowCount_ = -1;
  scale_ = 1;
  if (width != 0) {
    Extended total = 0;
    for (int c = 0; c < GetColCount(); ++c) total += GetColWidth(c);
    total = ConvertValue(total, pvInches, m);
    // Columns of no width at all cannot be scaled to any width.
    if (total > 0) scale_ = width / total;
  }
  preview_->BeginUpdate();
  CalcColWidths();
  x_ = ConvertValue(x, m, pvInches);
  y_ = ConvertValue(y, m, pvInches);
  origin_ = {x_, y_};
  TopValue.SetInches(y_);
  rowOnPage_ = false;
  lastRow_ = {x_, y_, x_ + gridWidth_, y_};
  preview_->Canvas.Font = font_;
  const int rows = GetRowCount();
  for (int row = 0; row < rows; ++row) {
    placing_ = row;
    const Extended h = GetRowHeight(row);
    if (BeforeDrawRow) BeforeDrawRow(*this, row);
    if (y_ + h > printableBottom()) NewGridPage();
    const TPvRectExt r{x_, y_, x_ + gridWidth_, y_ + h};
    lastRow_ = r;
    DrawRow(r, row);
    y_ += h;
    if (AfterDrawRow) AfterDrawRow(*this, row);
    if (OnDrawProgress) OnDrawProgress(*this, static_cast<Extended>(row + 1) / rows * 100);
    RowPrinted(row);
  }
  placing_ = -1;
  if (OnFinishGrid) {
    TPvValue at;
    at.SetInches(y_);
    OnFinishGrid(*this, at);
  }
  DrawGridBorder(lastRow_);
  preview_->EndUpdate();
}

// ---- over a string grid

Extended TPvGridPrint::GetColWidth(int col) const {
  return static_cast<Extended>(std::max(0, Grid->ColWidth(col))) / ScreenPixelsPerInch;
}

Extended TPvGridPrint::GetGridRowHeight(int row) const {
  return static_cast<Extended>(std::max(0, Grid->RowHeight(row))) / ScreenPixelsPerInch;
}

void TPvGridPrint::DrawCell(int col, int row, const TPvRectExt& rect) {
  if (OnDrawCell) OnDrawCell(*this, col, row, rect, Preview()->Canvas);
}

}  // namespace vektrano::preview

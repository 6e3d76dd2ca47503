#include "preview/page_canvas.h"

#include "preview/font_mapper.h"
#include "preview/pages.h"

namespace vektrano::preview {

TPvCanvas::TPvCanvas(TPvPageList& pages) : pages_(pages) { Font.setSize(10); }

bool TPvCanvas::CompareGraphics() const { return pages_.Resources.Graphics.CompareGraphics; }
void TPvCanvas::SetCompareGraphics(bool v) { pages_.Resources.Graphics.CompareGraphics = v; }

int TPvCanvas::penIndex() {
  TPvPen p;
  p.Assign(Pen);
  auto& list = pages_.Resources.Pens;
  return list.IndexOf(list.FindOrAdd(p));
}

int TPvCanvas::brushIndex() {
  TPvBrush b;
  b.Assign(Brush);
  auto& list = pages_.Resources.Brushes;
  return list.IndexOf(list.FindOrAdd(b));
}

int TPvCanvas::fontIndex() {
  TPvFont f;
  f.Assign(Font);
  auto& list = pages_.Resources.Fonts;
  return list.IndexOf(list.FindOrAdd(f));
}

template <class T>
T* TPvCanvas::add(std::unique_ptr<T> o) {
  o->Visible = Visible;
  T* raw = o.get();
  pages_.AddObject(std::move(o));
  last_ = raw;
  return raw;
}

TPvLineObject* TPvCanvas::Line(TPvMeasurement m, Extended x1, Extended y1, Extended x2, Extended y2) {
  auto o = std::make_unique<TPvLineObject>(&pages_.Resources);
  o->SetPenIndex(penIndex());
  o->SetRect(ConvertRect({x1, y1, x2, y2}, m, pvInches));
  return add(std::move(o));
}

TPvRectangleShape* TPvCanvas::Rectangle(TPvMeasurement m, Extended left, Extended top, Extended right,
                                        Extended bottom) {
  auto o = std::make_unique<TPvRectangleShape>(&pages_.Resources);
  o->SetBrushIndex(brushIndex());
  o->SetPenIndex(penIndex());
  o->SetRect(ConvertRect({left, top, right, bottom}, m, pvInches));
  return add(std::move(o));
}

TPvTextBoxObject* TPvCanvas::TextBox(const std::string& text, int alignment, Extended left, Extended top,
                                     Extended right, Extended bottom, Extended padding, TPvVertAlignment va,
                                     TPvMeasurement m) {
  auto o = std::make_unique<TPvTextBoxObject>(&pages_.Resources);
  const Extended l = ConvertValue(left, m, pvInches), t = ConvertValue(top, m, pvInches);
  const Extended r = ConvertValue(right, m, pvInches);
  const Extended pad = ConvertValue(padding, m, pvInches);
  Extended b = ConvertValue(bottom, m, pvInches);
  Extended textHeight = b - t;
  if (bottom == 0 || va != pvTop) {
    const Extended h = TextBoxHeight(text, pvInches, r - l, pad);
    if (bottom == 0) b = t + h;
    textHeight = h;
  }
  o->SetRect({l, t, r, b});
  o->SetPadding(pad);
  o->SetTextHeight(textHeight);
  o->SetAlignment(alignment);
  o->SetVertAlignment(va);
  o->SetBrushIndex(brushIndex());
  o->SetFontIndex(fontIndex());
  o->SetPenIndex(penIndex());
  o->SetText(text);
  o->SetWordBreak(WordWrap);
  return add(std::move(o));
}

Extended TPvCanvas::TextBoxHeight(const std::string& text, TPvMeasurement m, Extended width, Extended padding) {
  TPvFontMapper& mapper = FontMapper();
  const int res = mapper.measureResolution();
  const Extended usable = ConvertValue(width - 2 * padding, m, pvInches);
  const int units = static_cast<int>(roundHalfEven(usable * res));
  mapper.WordWrap = WordWrap;
  // The mapper answers in its own units; this is the one place they become
  // inches.
  const Extended lines = mapper.WrappedTextHeight(Font, {0, 0, units, 0}, text) / res;
  return ConvertValue(lines + 2 * ConvertValue(padding, m, pvInches), pvInches, m);
}

}  // namespace vektrano::preview

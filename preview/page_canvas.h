#pragma once
// The drawing interface of a preview document: line, rectangle and text box
// paint nothing; each makes a page object in inches with the canvas's
// current pen, brush and font registered in the document's resource table,
// and adds it to the current page through the page list.
#include <string>

#include "preview/page_objects.h"

namespace vektrano::preview {

class TPvPageList;

class TPvCanvas {
 public:
  explicit TPvCanvas(TPvPageList& pages);
  TPvCanvas(const TPvCanvas&) = delete;
  TPvCanvas& operator=(const TPvCanvas&) = delete;

  // Equal pictures share one entry of the resource table.
  bool CompareGraphics() const;
  void SetCompareGraphics(bool v);
  // Where the coordinates of a drawing call are measured from.
  TPvCoordsRelative CoordsRelativeTo = pvFromPage;
  TPvMeasurement DefaultMeasurement = pvMillimeters;

  // Set as on any canvas; every new object takes them as they are then.
  CanvasPen Pen;
  CanvasBrush Brush{clWhite, bsClear};
  CanvasFont Font;  // Arial 10 pt
  bool WordWrap = true;
  // Given to every new object.
  bool Visible = true;

  TPvLineObject* Line(TPvMeasurement m, Extended x1, Extended y1, Extended x2, Extended y2);
  TPvRectangleShape* Rectangle(TPvMeasurement m, Extended left, Extended top, Extended right, Extended bottom);
  // A bottom of 0 makes the box as tall as its text; a middle or bottom
  // alignment measures the text to place it in the given box.
  TPvTextBoxObject* TextBox(const std::string& text, int alignment, Extended left, Extended top, Extended right,
                            Extended bottom, Extended padding, TPvVertAlignment vertAlignment, TPvMeasurement m);
  // The height the text needs in a box of that width with that inner
  // padding (all in m), broken into lines as the font mapper breaks it.
  Extended TextBoxHeight(const std::string& text, TPvMeasurement m, Extended width, Extended padding);

  TPvBaseObject* LastObject() const { return last_; }

 private:
  template <class T>
  T* add(std::unique_ptr<T> o);
  int penIndex();
  int brushIndex();
  int fontIndex();

  TPvPageList& pages_;
  TPvBaseObject* last_ = nullptr;
};

}  // namespace vektrano::preview

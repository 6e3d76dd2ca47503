#pragma once
// The thumbnails of a preview: every page as a small paper image with its
// caption, the current one highlighted; a click makes its page current. They
// are rebuilt when the page count changes or an update ends, and do not
// paint while an update is open.
#include <QMenu>
#include <QPointer>
#include <string>
#include <vector>

#include "preview/gui/preview.h"
#include "preview/thumbnail_layout.h"

namespace vektrano::preview {

class TPvThumbnails;

class TPvThumbnail : public TPvPaperImageWidget {
  Q_OBJECT
 public:
  TPvThumbnail(TPvThumbnails& owner, int pageNumber, QWidget* parent);
  int PageNumber() const { return page_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  TPvThumbnails& owner_;
  int page_;
};

class TPvThumbnails : public TPvScrollingPageControl, public TPvPreviewListener {
  Q_OBJECT
 public:
  explicit TPvThumbnails(QWidget* parent = nullptr);

  TPvPreview* Preview() const { return preview_; }
  void SetPreview(TPvPreview* preview);

  CanvasFont CaptionFont;  // Arial 8 pt
  int GridWidth = 4;
  bool Highlight = true;
  TPvHighlightStyle HighlightStyle = pvThickLine;
  TPvThumbNailLayout Layout = pvThumbHorz;
  std::string PageCaptions = "#";
  bool PlainPages = false;
  bool ScrollIntoView = true;
  TColor SelectedColor = clBlue;
  TPvShadow& Shadow() { return shadow_; }
  bool ShowCaption = true;
  QPointer<QMenu> ThumbPopup;
  int ThumbSize = 4;     // per cent, less 2
  int ThumbSpacing = 8;  // pixels

  int Count() const { return static_cast<int>(thumbs_.size()); }
  TPvThumbnail* Thumbnail(int index) const;
  int Selected() const { return selected_; }
  // One thumbnail a page, sized, placed, the current one selected.
  void Rebuild();
  bool Updating() const { return updates_ > 0; }

  void PreviewMessage(int message) override;
  QWidget* ListenerWidget() override { return this; }
  void PreviewDestroyed() override;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  friend class TPvThumbnail;
  void select(int pageNumber);
  void clearThumbs();

  TPvPreviewLink preview_{*this};
  QWidget* strip_ = nullptr;
  std::vector<TPvThumbnail*> thumbs_;
  TPvShadow shadow_;
  int selected_ = 0;  // page number, 0 none
  int updates_ = 0;
};

}  // namespace vektrano::preview

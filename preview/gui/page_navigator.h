#pragma once
// The page navigator: a bar of thirteen buttons that page and zoom its
// preview, enabled by what the preview's messages say.
#include <QPointer>
#include <QToolButton>
#include <array>
#include <functional>
#include <string>

#include "preview/gui/preview.h"
#include "preview/navigator_layout.h"

namespace vektrano::preview {

class TPvNavButton : public QToolButton {
  Q_OBJECT
 public:
  TPvNavButton(TPvNavigateBtn kind, QWidget* parent);
  TPvNavigateBtn Kind() const { return kind_; }

 private:
  TPvNavigateBtn kind_;
};

class TPvPageNavigator : public TPvWinControl, public TPvPreviewListener {
  Q_OBJECT
 public:
  explicit TPvPageNavigator(QWidget* parent = nullptr);

  TPvPreview* Preview() const { return preview_; }
  void SetPreview(TPvPreview* preview);

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);
  int ButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(int v);
  int ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int v);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  bool GroupButtons() const { return groupButtons_; }
  void SetGroupButtons(bool v);
  int GroupSpacing() const { return groupSpacing_; }
  void SetGroupSpacing(int v);
  bool ShowButtonHints() const { return showHints_; }
  void SetShowButtonHints(bool v);
  TPvNavButtonSet VisibleButtons() const { return visible_; }
  void SetVisibleButtons(TPvNavButtonSet set);

  TPvNavButton* Button(TPvNavigateBtn b) const { return buttons_[b]; }
  // What a click does, as the button would.
  void Click(TPvNavigateBtn b);
  // The size the buttons ask for.
  QSize NeededSize() const;

  std::function<void(TPvPageNavigator&, TPvNavigateBtn)> OnClickButton;
  std::function<void(TPvPageNavigator&, TPvNavigateBtn, std::string& hint)> OnGetButtonHint;

  void PreviewMessage(int message) override;
  QWidget* ListenerWidget() override { return this; }
  void PreviewDestroyed() override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void layoutButtons();
  void evaluate();
  void applyHints();

  TPvPreviewLink preview_{*this};
  std::array<TPvNavButton*, kNavButtonCount> buttons_{};
  bool autoSize_ = false;
  int borderWidth_ = 6, buttonHeight_ = 34, buttonWidth_ = 34;
  bool flat_ = false, groupButtons_ = true;
  int groupSpacing_ = 8;
  bool showHints_ = true;
  TPvNavButtonSet visible_ = kAllNavButtons;
  bool hintsAsked_ = false;
};

}  // namespace vektrano::preview

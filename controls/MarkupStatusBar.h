#pragma once

#include <functional>
#include <string>

#include "controls/html/RenderPanelHTML.h"
#include "platform/app/Application.h"
#include "platform/ui/ApplicationHints.h"
#include "platform/app/Collection.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/StatusBar.h"

namespace controls {

using platform::TAlignment;
using platform::TComponent;
using platform::TMessage;
using platform::TRect;

enum class TMarkupStatusPanelStyle {
  psHTML, psText, psOwnerDraw, psTime, psDate, psNumLock, psCapsLock, psScrollLock, psProgress
};
using TMarkupStatusPanelBevel = platform::TStatusPanelBevel;
enum class TProgressIndication { piPercentage, piAbsolute, piNone };

class TMarkupStatusBar;
class TMarkupStatusPanel;

// The progress settings of a psProgress panel. The bar fills from Min to Max; Max not above Min shows
// an empty bar. Every change redraws the panel.
class TProgressStyle : public platform::TPersistent {
public:
  explicit TProgressStyle(TMarkupStatusPanel* Panel) : panel_(Panel) {}

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TColor BackGround() const { return background_; }
  void SetBackGround(TColor value);
  TColor TextColor() const { return textColor_; }
  void SetTextColor(TColor value);
  TProgressIndication Indication() const { return indication_; }
  void SetIndication(TProgressIndication value);
  int Min() const { return min_; }
  void SetMin(int value);
  int Max() const { return max_; }
  void SetMax(int value);
  int Position() const { return position_; }
  void SetPosition(int value);

  // What the bar shows: the percentage from Min to Max (halves rounded to even), Position itself, or
  // nothing.
  std::string Caption() const;
  // How much of a bar `width` pixels wide is filled, within 0 and width.
  int FilledWidth(int width) const;

  void Assign(const platform::TPersistent* Source) override;

private:
  template <class T>
  void Store(T& field, T value);

  TMarkupStatusPanel* panel_;
  TColor color_ = platform::clHighlight;
  TColor background_ = platform::clBtnFace;
  TColor textColor_ = platform::clHighlightText;
  TProgressIndication indication_ = TProgressIndication::piPercentage;
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
};

// One panel of the markup status bar. A change marks the panel and invalidates its rectangle; the
// bar sends its text to the window during the next paint.
class TMarkupStatusPanel : public platform::TCollectionItem {
public:
  explicit TMarkupStatusPanel(platform::TCollection* Collection);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TMarkupStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TMarkupStatusPanelBevel value);
  TMarkupStatusPanelStyle Style() const { return style_; }
  void SetStyle(TMarkupStatusPanelStyle value);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& value);
  // In pixels; the last panel takes the rest of the bar.
  int Width() const { return width_; }
  void SetWidth(int value);
  const std::string& DateFormat() const { return dateFormat_; }
  void SetDateFormat(const std::string& value);
  const std::string& TimeFormat() const { return timeFormat_; }
  void SetTimeFormat(const std::string& value);
  TProgressStyle& Progress() { return progress_; }
  const TProgressStyle& Progress() const { return progress_; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value);

  void Assign(const platform::TPersistent* Source) override;
  std::string DisplayName() const override;

private:
  friend class TMarkupStatusBar;
  template <class T>
  void Store(T& field, const T& value, bool allItems);

  TAlignment alignment_ = TAlignment::taLeftJustify;
  TMarkupStatusPanelBevel bevel_ = TMarkupStatusPanelBevel::pbLowered;
  TMarkupStatusPanelStyle style_ = TMarkupStatusPanelStyle::psHTML;
  std::string text_;
  int width_ = 50;
  std::string dateFormat_ = "mm/dd/yyyy";
  std::string timeFormat_ = "hh:mm:ss";
  TProgressStyle progress_{this};
  std::string hint_;
  bool updateNeeded_ = false;  // the text has not yet reached the window
};

// The panels of a markup status bar, in display order; the bar owns them.
class TMarkupStatusPanels : public platform::TOwnedCollection {
public:
  explicit TMarkupStatusPanels(TMarkupStatusBar* StatusBar);
  TMarkupStatusPanel* Add() { return static_cast<TMarkupStatusPanel*>(TCollection::Add()); }
  TMarkupStatusPanel* Items(int index) const { return static_cast<TMarkupStatusPanel*>(TCollection::Items(index)); }

protected:
  void Update(platform::TCollectionItem* Item) override;

private:
  TMarkupStatusBar* bar_;
};

using TMarkupDrawPanelEvent = std::function<void(TMarkupStatusBar* Sender, TMarkupStatusPanel* Panel, const TRect& Rect)>;
using TStatusAnchorEvent = std::function<void(TMarkupStatusBar* Sender, const std::string& Anchor)>;

// A status bar whose panels show markup with images and anchors, a progress bar, the date or time, or
// the state of the NUM, CAPS and SCROLL locks. A 100 ms window timer keeps the clock and lock panels
// current and blinks BLINK text (shown for 6 ticks, hidden for 5). Only the first 128 panels get parts.
// Clicking an anchor whose target contains "://" or "mailto:" opens it through the shell; any other
// target goes to OnAnchorClick.
class TMarkupStatusBar : public platform::TCustomStatusBar {
public:
  static constexpr int kMaxPanels = 128;
  static constexpr platform::UINT_PTR kTimerId = 111;
  static constexpr platform::UINT kTimerMs = 100;

  explicit TMarkupStatusBar(TComponent* AOwner);
  ~TMarkupStatusBar() override;

  void Dispatch(TMessage& Message) override;

  TMarkupStatusPanels& Panels() { return panels_; }
  bool AnchorHint() const { return anchorHint_; }
  void SetAnchorHint(bool value) { anchorHint_ = value; }
  platform::TCustomImageList* Images() const { return images_; }
  void SetImages(platform::TCustomImageList* value);
  TColor URLColor() const { return urlColor_; }
  void SetURLColor(TColor value);

  // The index of the panel whose rectangle holds x (edges inclusive, the lower index first); -1 none.
  int GetPanel(int x);
  // The target of the anchor under the client point; empty when there is none.
  std::string IsAnchor(int x, int y);
  // The blink counter: 0 to 10, one step per timer tick; BLINK text is hidden above 5.
  int BlinkCounter() const { return blink_; }

  TMarkupDrawPanelEvent OnDrawPanel;
  TStatusAnchorEvent OnAnchorClick;
  TStatusAnchorEvent OnAnchorEnter;
  TStatusAnchorEvent OnAnchorExit;

protected:
  void CreateParams(platform::TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, platform::TOperation Operation) override;
  void MouseMove(platform::TShiftState Shift, int X, int Y) override;
  void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;

  void DrawItem(int index, const TRect& rect) override;
  // Brings the clock, date and lock panels up to date and redraws blinking panels.
  virtual void UpdateStatusBar();
  virtual void DrawPanel(TMarkupStatusPanel* Panel, const TRect& Rect);

private:
  friend class TMarkupStatusPanels;
  friend class TProgressStyle;
  // Sends the parts (rects) and, with send, the texts of the panels marked for update; without send
  // marks every panel.
  void UpdatePanels(bool rects, bool send);
  void UpdatePanel(int index, bool send);
  void InvalidatePanel(int index);
  void DrawProgress(const TProgressStyle& progress, const TRect& rect);
  void HintShow(platform::THintInfo& info);

  TMarkupStatusPanels panels_;
  bool anchorHint_ = false;
  platform::TCustomImageList* images_ = nullptr;
  TColor urlColor_ = platform::clBlue;
  int blink_ = 0;
  int panelUnderMouse_ = -1;
  std::string lastAnchor_;
};

}  // namespace controls

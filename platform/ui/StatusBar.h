#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/app/Collection.h"
#include "platform/ui/ControlAppearance.h"
#include "platform/ui/Controls.h"
#include "platform/ui/OwnerDraw.h"

namespace platform {

// Status-bar window messages.
inline constexpr UINT SB_SETTEXT = WM_USER + 1;  // wParam: part | SBT_...; lParam: const char* (item data with SBT_OWNERDRAW)
inline constexpr UINT SB_SETPARTS = WM_USER + 4;  // wParam: count; lParam: const int* right edges, -1 to the end
inline constexpr UINT SB_GETPARTS = WM_USER + 6;  // wParam: room; lParam: int* right edges; Result: the count
inline constexpr UINT SB_SIMPLE = WM_USER + 9;    // wParam: non-zero shows the simple part alone
inline constexpr UINT SB_GETRECT = WM_USER + 10;  // wParam: part; lParam: TRect*; Result: non-zero for a part
inline constexpr UINT SB_ISSIMPLE = WM_USER + 14;
inline constexpr UINT SB_SETBKCOLOR = 0x2001;     // lParam: TColor, CLR_DEFAULT the control's colour; Result: the old one
inline constexpr UINT SB_SIMPLEID = 255;          // the part of SB_SETTEXT that the simple mode shows
inline constexpr TColor CLR_DEFAULT = 0xFF000000;

// SB_SETTEXT drawing types (high byte of wParam).
inline constexpr UINT SBT_NOBORDERS = 0x100;
inline constexpr UINT SBT_POPOUT = 0x200;
inline constexpr UINT SBT_RTLREADING = 0x400;
inline constexpr UINT SBT_OWNERDRAW = 0x1000;

// Status-bar window styles.
inline constexpr DWORD CCS_TOP = 0x1;
inline constexpr DWORD SBARS_SIZEGRIP = 0x100;

// The status-bar control: a row of parts across the bottom of a form, each with its text and frame,
// or one simple part across the whole bar, and a size grip in the corner. It is driven by messages,
// as the common control's window is: SB_SETPARTS lays out the parts by their right edges, SB_SETTEXT
// gives a part its text (a TAB before the text centres it, two right-align it; text after a first or
// second TAB is centred or right-aligned as well) or makes it owner-drawn, SB_SIMPLE switches the
// simple mode, SB_SETBKCOLOR the background, SB_GETRECT tells where a part lies.
//
// Part rectangles run from the right edge of the part before (0 for the first) to the part's own edge
// and from the bar's top border (2 pixels) to its bottom; an edge of -1 or beyond the bar's width ends
// at the bar's right side, or at the grip when one is shown. An owner-drawn part is drawn by a
// CN_DRAWITEM that the control sends itself while it paints, with the canvas it paints on (hDC), the
// part's rectangle inside its frame and the part's item data.
//
// The grip shows with SBARS_SIZEGRIP, unless the form that holds the bar is maximised; dragging it
// resizes that form.
class TStatusBarControl : public TCustomControl {
public:
  explicit TStatusBarControl(TComponent* AOwner);

  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  // Where a part's contents go: its rectangle (SB_GETRECT) without the gap to the next part and inside
  // its frame; what an owner-drawn part gets as its item rectangle. Simple part: SB_SIMPLEID.
  TRect ItemRect(int part);
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  struct TPart {
    int right = -1;
    std::string text;
    UINT type = 0;  // SBT_...
    uintptr_t data = 0;
  };

  // The create-params ask for the grip (asked anew, so the grip follows its form's border style) and
  // the form is not maximised.
  bool HasGrip();
  TRect GripRect();
  TRect PartRect(int index);
  TRect SimpleRect();
  void PaintPart(const TPart& part, int id, TRect rect);

  std::vector<TPart> parts_{TPart{}};
  TPart simple_;
  bool simpleMode_ = false;
  TColor background_ = CLR_DEFAULT;
  // A grip drag: the screen point of the press and the form's size then; cx -1 when none.
  TPoint gripStart_;
  TSize gripSize_{-1, -1};
};

// What the class library's status bars share on the status-bar control: the simple mode with its
// text, the size grip (shown when SizeGrip is set and the bar lies on a sizeable form) and the parts
// laid out from panel widths.
class TCustomStatusBar : public TStatusBarControl {
public:
  explicit TCustomStatusBar(TComponent* AOwner);

  void Dispatch(TMessage& Message) override;

  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool value);
  const std::string& SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& value);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool value);

protected:
  void CreateParams(TCreateParams& Params) override;
  // Lays out one part per width, the right edges their running sums, the last part reaching to the end
  // of the bar; no width gives one empty part.
  void SetPartWidths(const std::vector<int>& widths);
  // Draws owner-drawn part `index` (CN_DRAWITEM) on the canvas, which has the bar's font and a solid
  // button-face brush.
  virtual void DrawItem(int index, const TRect& rect) = 0;

private:
  bool simplePanel_ = false;
  std::string simpleText_;
  bool sizeGrip_ = true;
};

class TStatusBar;

enum class TStatusPanelStyle { psText, psOwnerDraw };
enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };

// One panel of a status bar: a part with its width, text, alignment, frame and style. Every change
// passes to the bar's window at once.
class TStatusPanel : public TCollectionItem {
public:
  explicit TStatusPanel(TCollection* Collection);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel value);
  TStatusPanelStyle Style() const { return style_; }
  void SetStyle(TStatusPanelStyle value);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& value);
  // In pixels; the last panel takes the rest of the bar whatever its width.
  int Width() const { return width_; }
  void SetWidth(int value);

  void Assign(const TPersistent* Source) override;
  std::string DisplayName() const override;

private:
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TStatusPanelBevel bevel_ = TStatusPanelBevel::pbLowered;
  TStatusPanelStyle style_ = TStatusPanelStyle::psText;
  std::string text_;
  int width_ = 50;
};

// The panels of a status bar, in display order; the bar owns them.
class TStatusPanels : public TOwnedCollection {
public:
  explicit TStatusPanels(TStatusBar* StatusBar);
  TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
  TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }

protected:
  void Update(TCollectionItem* Item) override;

private:
  TStatusBar* bar_;
};

using TDrawPanelEvent = std::function<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

// The class library's status bar: its panels (or, with SimplePanel, the one SimpleText) on the
// status-bar control, aligned to the bottom of its parent. An owner-drawn panel is drawn by DrawPanel
// (OnDrawPanel) on the bar's Canvas, with the bar's font and a button-face brush. The size grip shows
// when SizeGrip is set and the bar lies on a sizeable form.
class TStatusBar : public TCustomStatusBar {
public:
  explicit TStatusBar(TComponent* AOwner);

  TStatusPanels& Panels() { return panels_; }

  TDrawPanelEvent OnDrawPanel;

protected:
  void DrawItem(int index, const TRect& rect) override;
  virtual void DrawPanel(TStatusPanel* Panel, const TRect& Rect);

private:
  friend class TStatusPanels;
  // Sends the parts (rects) and every panel's text to the window.
  void UpdatePanels(bool rects);
  void UpdatePanel(int index);

  TStatusPanels panels_;
};

}  // namespace platform

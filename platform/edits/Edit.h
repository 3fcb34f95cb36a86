#pragma once

#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ui/ControlAppearance.h"
#include "platform/ui/Controls.h"
#include "platform/edits/EditMessages.h"
#include "platform/edits/EditText.h"

namespace platform {

// The edit control: a box of text that the user types into, with a caret, a selection, undo and the
// clipboard. It is single-line, or multi-line when its create-params hold ES_MULTILINE (the memo and
// descendants that need a text rectangle); lines wrap when ES_AUTOHSCROLL is absent. WS_VSCROLL and
// WS_HSCROLL give it the window's scroll bars, which stay shown and are disabled while everything fits.
//
// The native behaviour is in DefaultHandler, as a window procedure: keys and characters reach it after
// the OnKeyDown and OnKeyPress events, and the EM_... messages and WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR
// and WM_UNDO act there, so a descendant that handles one of them in Dispatch comes first. The
// properties and methods send these messages. Positions in the interface are characters (code points);
// inside, the caret and the selection are byte offsets of the UTF-8 text at caret stops.
class TCustomEdit : public TCustomControl {
public:
  explicit TCustomEdit(TComponent* AOwner);

  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  // Entering the control selects all of a single-line edit's text (not while the mouse places the caret).
  bool AutoSelect = true;
  // The selection stays visible while the control has no focus when false.
  bool HideSelection = true;

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  TEditCharCase CharCase() const { return charCase_; }
  // Also converts the present text.
  void SetCharCase(TEditCharCase value);
  // The most characters the user may type or paste; 0 is no limit. Text set by the program is not cut.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);
  // Shown in place of every character of a single-line edit; 0 shows the text. Such text cannot be
  // copied or cut.
  char32_t PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char32_t value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  // Set by every change that the user makes (and EM_REPLACESEL), cleared when the text is set.
  bool Modified() const { return modified_; }
  void SetModified(bool value) { modified_ = value; }

  int SelStart() const;
  void SetSelStart(int value);
  int SelLength() const;
  void SetSelLength(int value);
  std::string SelText() const;
  // Replaces the selection (or inserts at the caret), as typing would but without the limits.
  void SetSelText(const std::string& value);

  bool CanUndo() const { return canUndo_; }
  void Undo();
  void ClearSelection();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void SelectAll();
  void Clear();

  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  // Runs OnChange after every change of the text, except while the form is being loaded.
  virtual void Change();
  void DoEnter() override;
  void Paint() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  // Whether the caret and the focused selection show: while the edit has the focus (or, for an edit
  // inside another control, while that control has it).
  virtual bool ShowFocus() const { return Focused(); }
  // A property that CreateParams reads has changed: the style is taken again and the window re-created.
  void StyleChanged();

  DWORD EditStyle();
  bool Multiline() { return (EditStyle() & ES_MULTILINE) != 0; }
  // The lines of a multi-line edit wrap at the formatting rectangle's width.
  bool Wraps() { return Multiline() && !(EditStyle() & ES_AUTOHSCROLL); }
  // The formatting rectangle: where the text is drawn, in client coordinates.
  TRect FormatRect();
  int LineCount();

  // A change of the text by the edit itself, for what follows the text to follow it: bytes
  // [from, from + removed) of the old text became [from, from + inserted), and the removed bytes were
  // `removedWidth` pixels wide.
  struct TTextChange {
    size_t from = 0;
    size_t removed = 0;
    size_t inserted = 0;
    int removedWidth = 0;
  };
  // While CM_TEXTCHANGED goes to Dispatch: the change that the edit made, none for a text set from
  // outside (which may differ in any way).
  const std::optional<TTextChange>& PendingChange() const { return change_; }

private:
  // One line as it is shown: bytes [start, end) of the text, the line break (if any) after end, and
  // its width in pixels.
  struct TLine {
    size_t start = 0;
    size_t end = 0;
    int width = 0;
  };
  // A caret stop whose x in its line is known, so that places near it are measured from it and not
  // from the line's start: on a long line the caret and what is shown around it cost what they span.
  struct TKnownX {
    int line = -1;
    size_t pos = 0;
    int x = 0;
  };
  // What undo brings back: bytes [from, from + inserted) of the present text were `removed`, and the
  // selection was anchor to caret. The step keeps only what its changes replaced, never the whole text.
  struct TSnapshot {
    size_t from = 0;
    std::string removed;
    size_t inserted = 0;
    size_t anchor = 0;
    size_t caret = 0;
  };
  enum class TUndoStep { Record, ContinueTyping, None };
  enum class TSelect { Move, Extend };
  class TKeyModel;  // the edit's side of the keys it shares with the rich edit (EditKeys.h)

  // Text changes.
  void Replace(size_t from, size_t to, std::string_view with, TUndoStep undo);
  // Makes the undo step take in a change of [from, to) to `inserted` bytes, so that it still brings
  // back the text from before the step.
  void ExtendUndo(size_t from, size_t to, size_t inserted);
  // Sets the text with [from, to) replaced, for the layout and the lines to follow; false when a
  // handler of the change freed the edit.
  bool SetReplacedText(size_t from, size_t to, std::string_view with);
  void InsertTyped(std::string_view with, TUndoStep undo);
  void DeleteTowards(size_t other);
  // WM_KEYDOWN and WM_CHAR as the edits take them; true when handled.
  bool HandleInput(const TMessage& Message);
  void Paste();
  void PastePrimarySelection(TPoint at);
  std::string PasteText(std::string_view clipboard);
  void TakeExternalText();

  // Caret and selection.
  size_t SelFirst() const { return std::min(anchor_, caret_); }
  size_t SelLast() const { return std::max(anchor_, caret_); }
  void SetCaret(size_t pos, TSelect select);
  // Offers the selected text to other programs as the primary selection (not a password's).
  void OfferSelection();
  void SetSelection(size_t anchor, size_t caret);

  // Layout.
  void Measure();
  void InvalidateLayout();
  void Layout();
  // Lays out the paragraphs of [start, end) (end at a line break or the text's end) into `lines`.
  void LayParagraphs(size_t start, size_t end, std::vector<TLine>& lines);
  void WrapLine(size_t start, size_t end, int width, std::vector<TLine>& lines);
  // Follows a change of the text: only the paragraphs that it touches are laid out again (only the
  // width of a line that keeps its line breaks, when lines do not wrap), the lines after it move.
  void FollowChange(const TTextChange& change);
  int CharWidth(std::string_view text, size_t pos);
  // After a change of the font or the password character.
  void ForgetWidths();
  int WidthOf(std::string_view text, size_t from, size_t to);
  // A caret stop at or before (after) x of the line, a few characters' room to spare: where the part
  // of a line that is shown starts (ends).
  size_t StopBeforeX(int line, int x);
  size_t StopAfterX(int line, int x);
  int XOf(int line, size_t pos);
  // Where a line starts in client coordinates: scrolled, and moved right by ES_RIGHT.
  int LineLeft(int line);
  size_t PosAtX(int line, int x);
  int LineOf(size_t pos);
  int VisibleLines();
  size_t PosAtPoint(TPoint p);
  TPoint PointOf(size_t pos);
  void ScrollCaretIntoView();
  int MaxTopLine();
  // Scrolls so that the line is the first one shown, as far as the text allows.
  void SetTopLine(int line);

  // Painting.
  void PaintLine(int line);
  void DrawRun(int line, size_t from, size_t to, bool selected);

  // The widest line's width.
  int ContentWidth();
  // Gives the window's scroll bars the lines and the width shown.
  void UpdateScrollBars();
  // WM_VSCROLL and WM_HSCROLL.
  void Scroll(bool vertical, WORD code);

  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  TEditCharCase charCase_ = TEditCharCase::ecNormal;
  int maxLength_ = 0;
  char32_t passwordChar_ = 0;
  bool readOnly_ = false;
  bool modified_ = false;

  size_t anchor_ = 0;
  size_t caret_ = 0;
  int desiredX_ = -1;  // the column that Up and Down keep, -1 when none
  bool mouseSelecting_ = false;
  bool settingText_ = false;  // the control itself sets its text

  TSnapshot undo_;
  std::string replaced_;  // the text that Replace makes, kept for its memory
  bool canUndo_ = false;
  bool typing_ = false;  // the last change typed characters: the next one joins its undo step

  DWORD style_ = 0;
  bool styleKnown_ = false;
  TRect formatRect_;
  bool formatRectSet_ = false;
  std::vector<TLine> lines_;
  bool layoutValid_ = false;
  std::optional<TTextChange> change_;  // set by Replace while the text is being set
  TKnownX knownX_;
  int contentWidth_ = -1;  // the widest line's width, -1 until measured
  int lineHeight_ = 0;
  int ascent_ = 0;
  std::unordered_map<char32_t, int> widths_;
  std::array<int, 128> asciiWidths_{};  // each ASCII character's width + 1, 0 while unknown
  int scrollX_ = 0;
  int topLine_ = 0;
};

// The edit as forms use it.
class TEdit : public TCustomEdit {
public:
  using TCustomEdit::TCustomEdit;
};

}  // namespace platform

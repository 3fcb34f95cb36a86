#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/core/StringList.h"
#include "platform/ui/ControlAppearance.h"
#include "platform/ui/Controls.h"
#include "platform/edits/ParagraphLines.h"
#include "platform/edits/RichEditMessages.h"
#include "platform/edits/RichLayout.h"
#include "platform/edits/RichText.h"
#include "platform/ui/ScrollInfo.h"

namespace platform {

class TCustomRichEdit;
class TStream;

// The character attributes of a rich edit's selection (SelAttributes) or of its default format
// (DefAttributes): reading gives what EM_GETCHARFORMAT reports, setting sends EM_SETCHARFORMAT with
// only that attribute. Owned by the rich edit.
class TTextAttributes {
public:
  enum class TAttributeType { atSelected, atDefaultText };
  TTextAttributes(TCustomRichEdit& owner, TAttributeType type) : owner_(owner), type_(type) {}

  std::string Name() const { return Get().szFaceName; }
  void SetName(const std::string& value);
  int Size() const { return Get().yHeight / 20; }  // points
  void SetSize(int value);
  int Height() const;  // pixels on the screen
  void SetHeight(int value);
  TColor Color() const;
  void SetColor(TColor value);
  TFontStyles Style() const;
  void SetStyle(TFontStyles value);
  // The vertical offset in twips (positive: superscript).
  int Offset() const { return Get().yOffset; }
  void SetOffset(int value);
  // Which attributes the whole selection shares (CFM_...).
  DWORD ConsistentAttributes() const { return Get().dwMask; }
  // Takes name, size, style and colour of a font.
  void Assign(const TFont& font);

private:
  CHARFORMAT Get() const;
  void Set(const CHARFORMAT& format);

  TCustomRichEdit& owner_;
  TAttributeType type_;
};

// The paragraph attributes of the selection's paragraphs (Paragraph).
class TParaAttributes {
public:
  explicit TParaAttributes(TCustomRichEdit& owner) : owner_(owner) {}
  TAlignment Alignment() const;
  void SetAlignment(TAlignment value);

private:
  TCustomRichEdit& owner_;
};

// The lines of a rich edit. Streams and files load and save rich text, or plain text when the
// control's PlainText is set; a loaded text that is no rich text is taken as plain text.
class TRichEditStrings : public TStringList {
public:
  explicit TRichEditStrings(TCustomRichEdit& owner) : owner_(owner) {}
  void LoadFromStream(TStream& Stream);
  void SaveToStream(TStream& Stream) const;
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName) const;

private:
  TCustomRichEdit& owner_;
};

// The rich edit: an editor of formatted text (fonts, sizes, colours, bold, italic, underline,
// strike-out, super- and subscript, paragraph alignment) that loads and saves rich text. Its text is a
// TRichText document; Text() is the document's plain text (paragraphs joined by CR LF), and setting
// it replaces the document with plain text in the default format. It is multi-line; without
// WordWrap lines only end at breaks. Positions are characters, as in the edit.
//
// The native behaviour is in DefaultHandler: the EM_... messages (RichEditMessages.h), WM_CUT,
// WM_COPY, WM_PASTE, WM_CLEAR and WM_UNDO, keys and the mouse. EN_REQUESTRESIZE arrives as CN_NOTIFY
// at the control itself and calls RequestSize.
class TCustomRichEdit : public TCustomControl {
public:
  explicit TCustomRichEdit(TComponent* AOwner);

  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  TRichEditStrings& Lines() { return lines_; }
  TTextAttributes& SelAttributes() { return selAttributes_; }
  TTextAttributes& DefAttributes() { return defAttributes_; }
  TParaAttributes& Paragraph() { return paragraph_; }
  const TRichText& Document() const { return doc_; }

  // Lines' streams and files read and write plain text instead of rich text.
  bool PlainText = false;
  // The selection stays visible while the control has no focus when false.
  bool HideSelection = true;
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  bool Modified() const { return modified_; }
  void SetModified(bool value) { modified_ = value; }
  // The most characters the user may type or paste; 0 is no limit.
  int MaxLength = 0;

  int SelStart() const;
  void SetSelStart(int value);
  int SelLength() const;
  void SetSelLength(int value);
  std::string SelText() const;
  void SetSelText(const std::string& value);
  void SelectAll();
  void ClearSelection();
  void Clear();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Undo();
  bool CanUndo() const { return canUndo_; }
  int GetTextLen() const;

  // The document as rich text, and loading one (rich text, or plain text when it is none).
  std::string RichText() const;
  void SetRichText(std::string_view rtf);

  TNotifyEvent OnChange;
  TNotifyEvent OnSelectionChange;
  // The size that the content asks for (EN_REQUESTRESIZE), in client coordinates.
  std::function<void(TObject* Sender, const TRect& Rect)> OnResizeRequest;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void DoEnter() override;
  virtual void Change();
  virtual void SelectionChange();
  virtual void RequestSize(const TRect& Rect);

  // Where the text is drawn, in client coordinates.
  TRect FormatRect() const;

private:
  friend class TTextAttributes;
  enum class TSelect { Move, Extend };
  enum class TUndo { Record, None };  // whether a change can be undone
  class TKeyModel;  // the rich edit's side of the keys it shares with the edit (EditKeys.h)
  // What a change replaced, for Undo: the part of the document that [from, from + length) replaced,
  // or the whole document.
  struct TSnapshot {
    TRichText part;
    size_t from = 0;
    size_t length = 0;
    bool whole = false;
    size_t anchor = 0;
    size_t caret = 0;
  };

  // The document changes; every change of the text ends in DocumentChanged.
  void ReplaceSelection(const TRichText& with, TUndo undo);
  void ReplaceSelection(std::string_view with, TUndo undo);
  // With the change when it is one replacement or one change of formats: the layout then follows
  // from there at its next use; after any other change it is laid out anew.
  void DocumentChanged(std::optional<TRichLayout::TChange> change = std::nullopt);
  void TakePlainText(std::string_view text);
  // Before a change: of the whole document, or of [from, to) that `length` bytes are to replace (with
  // TUndo::None, no step: the one before would no longer fit the document).
  void RecordUndo();
  void RecordUndo(size_t from, size_t to, size_t length, TUndo undo);
  void SetCharFormat(WPARAM target, const CHARFORMAT& format);
  CHARFORMAT GetCharFormat(WPARAM target) const;
  LRESULT FormatRange(bool draw, FORMATRANGE* range);
  void SendRequestResize();

  // Input (RichEditInput.cpp).
  // WM_KEYDOWN and WM_CHAR as the edits take them; true when handled.
  bool HandleInput(const TMessage& Message);
  void MouseDownAt(TPoint p, bool extend, bool doubleClick);
  void DeleteTowards(size_t other);
  void InsertTyped(std::string_view text);
  // How many characters MaxLength leaves for what replaces the selection.
  size_t CharactersAllowed() const;

  // The clipboard: the one place that talks to the clipboard service.
  void CopySelection();
  void Paste();

  // Caret and selection, as byte offsets at caret stops.
  size_t SelFirst() const { return std::min(anchor_, caret_); }
  size_t SelLast() const { return std::max(anchor_, caret_); }
  void SetSelection(size_t anchor, size_t caret);
  void SetCaret(size_t pos, TSelect select) { SetSelection(select == TSelect::Extend ? anchor_ : pos, pos); }
  size_t ByteOf(int character) const;
  int CharOf(size_t byte) const;

  // Layout and scrolling.
  const TRichLayout& Layout();
  // Where the layout's top-left corner stands in client coordinates, as scrolled.
  TPoint ContentOrigin() const;
  size_t PosAtClientPoint(TPoint p);
  void ScrollCaretIntoView();
  void ScrollTo(int x, int y);
  // The bars (ScrollBars) in step with the layout and the scroll position, in pixels.
  void UpdateScrollBars();
  void Scroll(int bar, WORD code);

  TRichText doc_;
  TRichEditStrings lines_{*this};
  TParagraphLines paragraphs_{lines_};  // keeps Lines equal to the text after the control's own changes
  TTextAttributes selAttributes_{*this, TTextAttributes::TAttributeType::atSelected};
  TTextAttributes defAttributes_{*this, TTextAttributes::TAttributeType::atDefaultText};
  TParaAttributes paragraph_{*this};
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  bool wordWrap_ = true;
  TScrollStyle scrollBars_ = TScrollStyle::ssNone;
  bool readOnly_ = false;
  bool modified_ = false;

  size_t anchor_ = 0;
  size_t caret_ = 0;
  int desiredX_ = -1;  // the column that Up and Down keep, -1 when none
  bool mouseSelecting_ = false;
  // The format that typing at the caret takes, set by SelAttributes while nothing is selected.
  std::optional<TRichCharFormat> typingFormat_;

  size_t characters_ = 0;  // of the document, counted as it changes
  TSnapshot undo_;
  bool canUndo_ = false;
  bool settingText_ = false;  // the control itself sets its text
  bool syncingLines_ = false;
  // While the document's text is set: what its change replaced, none when it may differ in any way.
  std::optional<TRichLayout::TChange> textChange_;
  DWORD eventMask_ = 0;
  std::optional<TRect> requested_;  // the size last requested, so that only changes are reported

  TRect formatRect_;
  bool formatRectSet_ = false;
  TRichLayout layout_;
  bool layoutValid_ = false;
  std::optional<TRichLayout::TChange> layoutChange_;  // what the valid layout has yet to follow
  int scrollX_ = 0;  // only when lines do not wrap
  int scrollY_ = 0;
};

class TRichEdit : public TCustomRichEdit {
public:
  using TCustomRichEdit::TCustomRichEdit;
};

}  // namespace platform

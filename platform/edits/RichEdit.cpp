#include "platform/edits/RichEdit.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "platform/core/Streams.h"
#include "platform/core/Utf8.h"
#include "platform/gfx/CanvasStateGuard.h"
#include "platform/gfx/Gdi.h"
#include "platform/edits/EditText.h"
#include "platform/edits/RtfReader.h"
#include "platform/edits/RtfWriter.h"
#include "platform/ui/ScrollBars.h"

namespace platform {

namespace {

// The format of a font: the text colour of the system counts as the automatic colour.
TRichCharFormat FormatOfFont(const TFont& font) {
  TRichCharFormat f;
  f.FaceName = font.Name();
  f.Height = font.Size() * 20;
  f.Color = font.Color() == clWindowText ? clNone : font.Color();
  f.Style = font.Style();
  return f;
}

uint32_t MaskOf(DWORD cfm) {
  uint32_t mask = 0;
  if (cfm & CFM_FACE) mask |= rfmFace;
  if (cfm & CFM_SIZE) mask |= rfmHeight;
  if (cfm & CFM_COLOR) mask |= rfmColor;
  if (cfm & CFM_BOLD) mask |= rfmBold;
  if (cfm & CFM_ITALIC) mask |= rfmItalic;
  if (cfm & CFM_UNDERLINE) mask |= rfmUnderline;
  if (cfm & CFM_STRIKEOUT) mask |= rfmStrikeOut;
  if (cfm & CFM_OFFSET) mask |= rfmOffset;
  return mask;
}

DWORD CfmOf(uint32_t mask) {
  DWORD cfm = 0;
  if (mask & rfmFace) cfm |= CFM_FACE;
  if (mask & rfmHeight) cfm |= CFM_SIZE;
  if (mask & rfmColor) cfm |= CFM_COLOR;
  if (mask & rfmBold) cfm |= CFM_BOLD;
  if (mask & rfmItalic) cfm |= CFM_ITALIC;
  if (mask & rfmUnderline) cfm |= CFM_UNDERLINE;
  if (mask & rfmStrikeOut) cfm |= CFM_STRIKEOUT;
  if (mask & rfmOffset) cfm |= CFM_OFFSET;
  return cfm;
}

constexpr std::pair<DWORD, TFontStyle> kEffects[] = {{CFE_BOLD, TFontStyle::fsBold},
                                                     {CFE_ITALIC, TFontStyle::fsItalic},
                                                     {CFE_UNDERLINE, TFontStyle::fsUnderline},
                                                     {CFE_STRIKEOUT, TFontStyle::fsStrikeOut}};

TRichCharFormat FromCharFormat(const CHARFORMAT& cf) {
  TRichCharFormat f;
  f.FaceName = cf.szFaceName;
  f.Height = std::clamp(cf.yHeight, 20, 32760);
  f.Color = (cf.dwEffects & CFE_AUTOCOLOR) ? clNone : cf.crTextColor;
  for (auto [effect, style] : kEffects)
    if (cf.dwEffects & effect) f.Style = f.Style + style;
  f.Offset = std::clamp(cf.yOffset, -32760, 32760);
  return f;
}

CHARFORMAT ToCharFormat(const TRichCharFormat& f, uint32_t mask) {
  CHARFORMAT cf;
  cf.dwMask = CfmOf(mask);
  cf.szFaceName = f.FaceName;
  cf.yHeight = f.Height;
  cf.yOffset = f.Offset;
  cf.crTextColor = f.Color == clNone ? clWindowText : f.Color;
  if (f.Color == clNone) cf.dwEffects |= CFE_AUTOCOLOR;
  for (auto [effect, style] : kEffects)
    if (f.Style.Contains(style)) cf.dwEffects |= effect;
  return cf;
}

}  // namespace

// ---- Attributes

CHARFORMAT TTextAttributes::Get() const {
  return owner_.GetCharFormat(type_ == TAttributeType::atSelected ? SCF_SELECTION : SCF_DEFAULT);
}

void TTextAttributes::Set(const CHARFORMAT& format) {
  CHARFORMAT copy = format;
  owner_.Perform(EM_SETCHARFORMAT, type_ == TAttributeType::atSelected ? SCF_SELECTION : SCF_DEFAULT,
                 reinterpret_cast<LPARAM>(&copy));
}

void TTextAttributes::SetName(const std::string& value) {
  CHARFORMAT cf;
  cf.dwMask = CFM_FACE;
  cf.szFaceName = value;
  Set(cf);
}

void TTextAttributes::SetSize(int value) {
  CHARFORMAT cf;
  cf.dwMask = CFM_SIZE;
  cf.yHeight = value * 20;
  Set(cf);
}

int TTextAttributes::Height() const { return MulDiv(Size(), 96, 72); }

void TTextAttributes::SetHeight(int value) { SetSize(MulDiv(value, 72, 96)); }

TColor TTextAttributes::Color() const {
  const CHARFORMAT cf = Get();
  return (cf.dwEffects & CFE_AUTOCOLOR) ? clWindowText : cf.crTextColor;
}

void TTextAttributes::SetColor(TColor value) {
  CHARFORMAT cf;
  cf.dwMask = CFM_COLOR;
  if (value == clWindowText) cf.dwEffects = CFE_AUTOCOLOR;
  cf.crTextColor = value;
  Set(cf);
}

TFontStyles TTextAttributes::Style() const {
  const CHARFORMAT cf = Get();
  TFontStyles styles;
  for (auto [effect, style] : kEffects)
    if (cf.dwEffects & effect) styles = styles + style;
  return styles;
}

void TTextAttributes::SetStyle(TFontStyles value) {
  CHARFORMAT cf;
  cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
  for (auto [effect, style] : kEffects)
    if (value.Contains(style)) cf.dwEffects |= effect;
  Set(cf);
}

void TTextAttributes::SetOffset(int value) {
  CHARFORMAT cf;
  cf.dwMask = CFM_OFFSET;
  cf.yOffset = value;
  Set(cf);
}

void TTextAttributes::Assign(const TFont& font) {
  CHARFORMAT cf = ToCharFormat(FormatOfFont(font), rfmAll & ~rfmOffset);
  Set(cf);
}

TAlignment TParaAttributes::Alignment() const {
  PARAFORMAT pf;
  owner_.Perform(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
  return pf.wAlignment == PFA_RIGHT ? TAlignment::taRightJustify
         : pf.wAlignment == PFA_CENTER ? TAlignment::taCenter
                                       : TAlignment::taLeftJustify;
}

void TParaAttributes::SetAlignment(TAlignment value) {
  PARAFORMAT pf;
  pf.dwMask = PFM_ALIGNMENT;
  pf.wAlignment = value == TAlignment::taRightJustify ? PFA_RIGHT : value == TAlignment::taCenter ? PFA_CENTER : PFA_LEFT;
  owner_.Perform(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
}

// ---- Lines

void TRichEditStrings::LoadFromStream(TStream& Stream) {
  std::string bytes;
  char buffer[65536];
  for (int64_t got; (got = Stream.Read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, static_cast<size_t>(got));
  if (owner_.PlainText) owner_.SetText(bytes);
  else owner_.SetRichText(bytes);
}

void TRichEditStrings::SaveToStream(TStream& Stream) const {
  std::string bytes;
  if (!owner_.PlainText) bytes = owner_.RichText();
  else for (char c : owner_.Text()) bytes += c == '\v' ? std::string(TRichText::kParagraphBreak) : std::string(1, c);
  Stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TRichEditStrings::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TRichEditStrings::SaveToFile(const std::string& FileName) const {
  TMemoryStream stream;
  SaveToStream(stream);
  stream.SaveToFile(FileName);
}

// ---- The control

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 185, 89);
  SetTabStop(true);
  SetColor(clWindow);
  SetCursor(crIBeam);
  doc_.SetDefaultFormat(FormatOfFont(Font()));
  lines_.OnChange = [this](TStringList&) {
    if (syncingLines_) return;
    std::string text = lines_.TStringList::Text();
    if (text.size() >= 2) text.resize(text.size() - 2);  // the break after the last line
    SetText(text);
  };
}

void TCustomRichEdit::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Caption.clear();  // the text is the document's: its window keeps no copy of a long text
  if (borderStyle_ == TBorderStyle::bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth) Params.Style |= WS_VSCROLL;
  if (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth) Params.Style |= WS_HSCROLL;
}

void TCustomRichEdit::SetScrollBars(TScrollStyle value) {
  if (scrollBars_ == value) return;
  scrollBars_ = value;
  layoutValid_ = false;
  RecreateWnd();
  Invalidate();
}

void TCustomRichEdit::SetBorderStyle(TBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  RecreateWnd();
  Invalidate();
}

void TCustomRichEdit::SetWordWrap(bool value) {
  if (wordWrap_ == value) return;
  wordWrap_ = value;
  layoutValid_ = false;
  Invalidate();
}

void TCustomRichEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETTEXT:
      if (!settingText_) {
        // Text from outside becomes the document, its line breaks made paragraph breaks; the control's
        // text is the document's.
        TakePlainText(Message.LParam ? reinterpret_cast<const char*>(Message.LParam) : "");
        DocumentChanged();
        Message.Result = 1;
        return;
      }
      break;
    case CM_TEXTCHANGED: {
      if (!syncingLines_) {
        syncingLines_ = true;
        if (textChange_ && paragraphs_.Known()) {
          paragraphs_.Follow(Text(), textChange_->from, textChange_->removed, textChange_->inserted);
        } else {
          lines_.SetText(Text());
          paragraphs_.Find(Text());
        }
        syncingLines_ = false;
      }
      Invalidate();
      // Taken in: a text that OnChange sets comes from outside.
      settingText_ = false;
      textChange_.reset();
      TGuard guard(*this);
      if (!ComponentState().Contains(csLoading)) Change();
      if (guard.Gone()) return;
      SendRequestResize();
      break;
    }
    case CM_FONTCHANGED: {
      CHARFORMAT cf = ToCharFormat(FormatOfFont(Font()), rfmAll & ~rfmOffset);
      Perform(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
      break;
    }
    case WM_SIZE:
      // The layout, the scroll position and the bars follow at the next paint.
      formatRectSet_ = false;
      layoutValid_ = false;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      mouseSelecting_ = false;
      Invalidate();
      break;
    case WM_MOUSEMOVE:
      if (mouseSelecting_ && (Message.WParam & MK_LBUTTON)) {
        SetCaret(PosAtClientPoint({LParamX(Message.LParam), LParamY(Message.LParam)}), TSelect::Extend);
      }
      break;
    case WM_LBUTTONUP:
      mouseSelecting_ = false;
      break;
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS;
      return;
    case CN_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
      if (header && header->code == EN_REQUESTRESIZE) RequestSize(reinterpret_cast<const REQRESIZE*>(header)->rc);
      if (header && header->code == EN_SELCHANGE) SelectionChange();
      return;
    }
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomRichEdit::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      TGuard guard(*this);
      TCustomControl::DefaultHandler(Message);  // takes the focus
      if (guard.Gone() || !Focused()) return;
      MouseDownAt({LParamX(Message.LParam), LParamY(Message.LParam)}, (Message.WParam & MK_SHIFT) != 0,
                  Message.Msg == WM_LBUTTONDBLCLK);
      return;
    }
    case WM_KEYDOWN:
    case WM_CHAR:
      if (HandleInput(Message)) return;
      break;
    case WM_COPY:
      CopySelection();
      return;
    case WM_CUT:
      if (readOnly_ || anchor_ == caret_) return;
      CopySelection();
      ReplaceSelection(std::string_view{}, TUndo::Record);
      return;
    case WM_PASTE:
      if (!readOnly_) Paste();
      return;
    case WM_CLEAR:
      if (!readOnly_ && anchor_ != caret_) ReplaceSelection(std::string_view{}, TUndo::Record);
      return;
    case WM_UNDO:
    case EM_UNDO: {
      if (!canUndo_ || readOnly_) return;
      // What is undone becomes what Undo restores next. The part goes back exactly where it was taken,
      // even beside a lone CR or LF that the change had joined into a paragraph break.
      TSnapshot back = std::move(undo_);
      if (back.whole) {
        undo_ = {doc_, 0, 0, true, anchor_, caret_};
        doc_ = std::move(back.part);
      } else {
        const size_t to = back.from + back.length;
        undo_ = {doc_.Range(back.from, to), back.from, back.part.Text().size(), false, anchor_, caret_};
        doc_.Splice(back.from, to, back.part);
      }
      anchor_ = back.anchor;
      caret_ = back.caret;
      if (back.whole) DocumentChanged();
      else DocumentChanged(TRichLayout::TChange{back.from, back.length, back.part.Text().size()});
      Message.Result = 1;
      return;
    }
    case EM_CANUNDO:
      Message.Result = canUndo_ ? 1 : 0;
      return;
    case EM_GETSEL:
    case EM_EXGETSEL: {
      const auto first = CharOf(SelFirst()), last = CharOf(SelLast());
      if (Message.Msg == EM_EXGETSEL) {
        if (auto* range = reinterpret_cast<CHARRANGE*>(Message.LParam)) *range = {first, last};
        return;
      }
      if (Message.WParam) *reinterpret_cast<DWORD*>(Message.WParam) = static_cast<DWORD>(first);
      if (Message.LParam) *reinterpret_cast<DWORD*>(Message.LParam) = static_cast<DWORD>(last);
      Message.Result = (static_cast<LRESULT>(std::min(last, 0xFFFF)) << 16) | std::min(first, 0xFFFF);
      return;
    }
    case EM_SETSEL:
    case EM_EXSETSEL: {
      int64_t anchor = static_cast<int64_t>(Message.WParam), caret = Message.LParam;
      if (Message.Msg == EM_EXSETSEL) {
        const auto* range = reinterpret_cast<const CHARRANGE*>(Message.LParam);
        if (!range) return;
        anchor = range->cpMin;
        caret = range->cpMax;
      }
      if (anchor < 0) {
        SetSelection(caret_, caret_);
      } else {
        const size_t caretPos = caret < 0 ? doc_.Text().size() : ByteOf(static_cast<int>(std::min<int64_t>(caret, INT32_MAX)));
        SetSelection(ByteOf(static_cast<int>(std::min<int64_t>(anchor, INT32_MAX))), caretPos);
      }
      Message.Result = CharOf(SelLast()) - CharOf(SelFirst());
      return;
    }
    case EM_GETCHARFORMAT: {
      if (auto* cf = reinterpret_cast<CHARFORMAT*>(Message.LParam)) *cf = GetCharFormat(Message.WParam);
      return;
    }
    case EM_SETCHARFORMAT:
      if (const auto* cf = reinterpret_cast<const CHARFORMAT*>(Message.LParam)) SetCharFormat(Message.WParam, *cf);
      Message.Result = 1;
      return;
    case EM_GETPARAFORMAT:
      if (auto* pf = reinterpret_cast<PARAFORMAT*>(Message.LParam)) {
        const TAlignment a = doc_.Alignment(doc_.ParagraphOf(SelFirst()));
        pf->dwMask = PFM_ALIGNMENT;
        pf->wAlignment = a == TAlignment::taRightJustify ? PFA_RIGHT : a == TAlignment::taCenter ? PFA_CENTER : PFA_LEFT;
      }
      return;
    case EM_SETPARAFORMAT:
      if (const auto* pf = reinterpret_cast<const PARAFORMAT*>(Message.LParam); pf && (pf->dwMask & PFM_ALIGNMENT)) {
        RecordUndo();
        doc_.SetAlignment(SelFirst(), SelLast(),
                          pf->wAlignment == PFA_RIGHT    ? TAlignment::taRightJustify
                          : pf->wAlignment == PFA_CENTER ? TAlignment::taCenter
                                                         : TAlignment::taLeftJustify);
        DocumentChanged();
        Message.Result = 1;
      }
      return;
    case WM_VSCROLL:
    case WM_HSCROLL:
      Scroll(Message.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, static_cast<WORD>(Message.WParam & 0xFFFF));
      return;
    case EM_FORMATRANGE:
      Message.Result = FormatRange(Message.WParam != 0, reinterpret_cast<FORMATRANGE*>(Message.LParam));
      return;
    case EM_REQUESTRESIZE:
      requested_.reset();
      SendRequestResize();
      return;
    case EM_SETEVENTMASK:
      Message.Result = eventMask_;
      eventMask_ = static_cast<DWORD>(Message.LParam);
      return;
    case EM_GETEVENTMASK:
      Message.Result = eventMask_;
      return;
    case EM_GETRECT:
      if (Message.LParam) *reinterpret_cast<TRect*>(Message.LParam) = FormatRect();
      return;
    case EM_SETRECT:
    case EM_SETRECTNP:
      if (!Message.LParam) return;
      formatRect_ = *reinterpret_cast<const TRect*>(Message.LParam);
      formatRectSet_ = true;
      layoutValid_ = false;
      Invalidate();
      return;
    case EM_GETLINECOUNT:
      Message.Result = Layout().LineCount();
      return;
    case EM_LINEFROMCHAR:
      Message.Result = Layout().LineOf(static_cast<int64_t>(Message.WParam) < 0 ? SelFirst()
                                                                                 : ByteOf(static_cast<int>(Message.WParam)));
      return;
    case EM_POSFROMCHAR: {
      const size_t pos = ByteOf(static_cast<int>(std::min<WPARAM>(Message.WParam, INT32_MAX)));
      const TRichLayout& layout = Layout();
      const TPoint origin = ContentOrigin();
      Message.Result = PointToLParam(origin.X + layout.XOf(pos), origin.Y + layout.Line(layout.LineOf(pos)).top);
      return;
    }
    case EM_CHARFROMPOS: {
      Message.Result = CharOf(PosAtClientPoint({LParamX(Message.LParam), LParamY(Message.LParam)}));
      return;
    }
    case EM_REPLACESEL: {
      const char* text = reinterpret_cast<const char*>(Message.LParam);
      ReplaceSelection(std::string_view(text ? text : ""), Message.WParam ? TUndo::Record : TUndo::None);
      return;
    }
    case EM_GETMODIFY:
      Message.Result = modified_ ? 1 : 0;
      return;
    case EM_SETMODIFY:
      modified_ = Message.WParam != 0;
      return;
    case EM_SETREADONLY:
      readOnly_ = Message.WParam != 0;
      Message.Result = 1;
      return;
    case EM_LIMITTEXT:
      MaxLength = static_cast<int>(std::min<WPARAM>(Message.WParam, INT32_MAX));
      return;
    default:
      break;
  }
  TCustomControl::DefaultHandler(Message);
}

void TCustomRichEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomRichEdit::SelectionChange() {
  if (OnSelectionChange) OnSelectionChange(this);
}

void TCustomRichEdit::RequestSize(const TRect& Rect) {
  if (OnResizeRequest) OnResizeRequest(this, Rect);
}

void TCustomRichEdit::DoEnter() {
  TCustomControl::DoEnter();
  Invalidate();
}

bool TCustomRichEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  const TRichLayout& layout = Layout();
  const int lineHeight = layout.LineCount() == 0 ? 16 : layout.Line(0).height;
  ScrollTo(scrollX_, scrollY_ - WheelDelta / 120 * 3 * lineHeight);
  return true;
}

// ---- Text and selection

int TCustomRichEdit::GetTextLen() const { return static_cast<int>(characters_); }

size_t TCustomRichEdit::ByteOf(int character) const {
  return ByteOfChar(doc_.Text(), static_cast<size_t>(std::max(character, 0)));
}

int TCustomRichEdit::CharOf(size_t byte) const { return static_cast<int>(CharOfByte(doc_.Text(), byte)); }

int TCustomRichEdit::SelStart() const { return CharOf(SelFirst()); }
void TCustomRichEdit::SetSelStart(int value) { Perform(EM_SETSEL, static_cast<WPARAM>(std::max(value, 0)), std::max(value, 0)); }
int TCustomRichEdit::SelLength() const { return CharOf(SelLast()) - CharOf(SelFirst()); }

void TCustomRichEdit::SetSelLength(int value) {
  const int start = SelStart();
  Perform(EM_SETSEL, static_cast<WPARAM>(start), start + std::max(value, 0));
}

std::string TCustomRichEdit::SelText() const { return doc_.Text().substr(SelFirst(), SelLast() - SelFirst()); }

void TCustomRichEdit::SetSelText(const std::string& value) {
  Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

void TCustomRichEdit::SelectAll() { Perform(EM_SETSEL, 0, -1); }
void TCustomRichEdit::ClearSelection() { Perform(WM_CLEAR); }
void TCustomRichEdit::Clear() { SetText({}); }
void TCustomRichEdit::CopyToClipboard() { Perform(WM_COPY); }
void TCustomRichEdit::CutToClipboard() { Perform(WM_CUT); }
void TCustomRichEdit::PasteFromClipboard() { Perform(WM_PASTE); }
void TCustomRichEdit::Undo() { Perform(WM_UNDO); }

std::string TCustomRichEdit::RichText() const { return WriteRtf(doc_); }

void TCustomRichEdit::SetRichText(std::string_view rtf) {
  doc_ = ReadRtf(rtf, doc_.DefaultFormat());
  anchor_ = caret_ = 0;
  scrollX_ = scrollY_ = 0;
  canUndo_ = false;
  modified_ = false;
  typingFormat_.reset();
  DocumentChanged();
}

void TCustomRichEdit::TakePlainText(std::string_view text) {
  const TRichCharFormat defaults = doc_.DefaultFormat();
  doc_ = TRichText();
  doc_.SetDefaultFormat(defaults);
  doc_.Append(WithCrLfBreaks(text), defaults);
  anchor_ = caret_ = 0;
  scrollX_ = scrollY_ = 0;
  canUndo_ = false;
  modified_ = false;
  typingFormat_.reset();
}

void TCustomRichEdit::DocumentChanged(std::optional<TRichLayout::TChange> change) {
  // One change the layout has not followed yet can be followed; two cannot.
  if (change && layoutValid_ && !layoutChange_) {
    layoutChange_ = change;
  } else {
    layoutValid_ = false;
    layoutChange_.reset();
  }
  // The control's text follows the document's: in place after one change, else taken whole. The
  // document keeps its text unchanged while the control takes it in.
  settingText_ = true;
  textChange_ = change;
  TGuard guard(*this);
  if (change) {
    // Counted from the part that the change replaced, which the control's text still holds.
    characters_ += CodePointCount(std::string_view(doc_.Text()).substr(change->from, change->inserted));
    characters_ -= CodePointCount(std::string_view(Text()).substr(change->from, change->removed));
    ReplaceOwnText(change->from, change->removed, std::string_view(doc_.Text()).substr(change->from, change->inserted));
  } else {
    characters_ = CodePointCount(doc_.Text());
    TMessage set{WM_SETTEXT, 0, reinterpret_cast<LPARAM>(doc_.Text().c_str()), 0};
    Dispatch(set);
  }
  if (guard.Gone()) return;
  settingText_ = false;
  textChange_.reset();
  ScrollCaretIntoView();
}

void TCustomRichEdit::RecordUndo() {
  undo_ = {doc_, 0, 0, true, anchor_, caret_};
  canUndo_ = true;
}

void TCustomRichEdit::RecordUndo(size_t from, size_t to, size_t length, TUndo undo) {
  // A step that does not describe the document as it is becomes one that cannot be undone.
  if (undo == TUndo::None) {
    canUndo_ = false;
    undo_ = {};
    return;
  }
  std::tie(from, to) = doc_.WholeBreaks(from, to);
  undo_ = {doc_.Range(from, to), from, length, false, anchor_, caret_};
  canUndo_ = true;
}

void TCustomRichEdit::ReplaceSelection(const TRichText& with, TUndo undo) {
  const size_t from = SelFirst(), to = SelLast();
  RecordUndo(from, to, with.Text().size(), undo);
  // Exactly in the selection's place, also between a lone CR and a lone LF that it keeps apart.
  doc_.Splice(from, to, with);
  anchor_ = caret_ = from + with.Text().size();
  modified_ = true;
  typingFormat_.reset();
  DocumentChanged(TRichLayout::TChange{from, to - from, with.Text().size()});
}

void TCustomRichEdit::ReplaceSelection(std::string_view with, TUndo undo) {
  const size_t from = SelFirst();
  RecordUndo(from, SelLast(), with.size(), undo);
  const TRichCharFormat format = typingFormat_ ? *typingFormat_ : doc_.FormatAt(from);
  const auto [first, last] = doc_.Replace(from, SelLast(), with, format);
  anchor_ = caret_ = from + with.size();
  modified_ = true;
  DocumentChanged(TRichLayout::TChange{first, last - first, with.size()});
}

CHARFORMAT TCustomRichEdit::GetCharFormat(WPARAM target) const {
  if (target & SCF_SELECTION) {
    if (anchor_ == caret_ && typingFormat_) return ToCharFormat(*typingFormat_, rfmAll);
    uint32_t mask = 0;
    const TRichCharFormat f = doc_.CommonFormat(SelFirst(), SelLast(), mask);
    return ToCharFormat(f, mask);
  }
  return ToCharFormat(doc_.DefaultFormat(), rfmAll);
}

void TCustomRichEdit::SetCharFormat(WPARAM target, const CHARFORMAT& cf) {
  const uint32_t mask = MaskOf(cf.dwMask);
  const TRichCharFormat format = FromCharFormat(cf);
  if (target & SCF_ALL) {
    RecordUndo();
    doc_.SetFormat(0, doc_.Text().size(), format, mask);
  } else if (target & SCF_SELECTION) {
    if (anchor_ == caret_) {
      typingFormat_ = MergeFormat(typingFormat_ ? *typingFormat_ : doc_.FormatAt(caret_), format, mask);
      return;
    }
    const auto [first, last] = doc_.WholeBreaks(SelFirst(), SelLast());
    RecordUndo(first, last, last - first, TUndo::Record);
    doc_.SetFormat(SelFirst(), SelLast(), format, mask);
    DocumentChanged(TRichLayout::TChange{first, last - first, last - first});
    return;
  } else {
    doc_.SetDefaultFormat(MergeFormat(doc_.DefaultFormat(), format, mask));
  }
  DocumentChanged();
}

// ---- Layout, painting and the range formatter

TRect TCustomRichEdit::FormatRect() const {
  if (formatRectSet_) return formatRect_;
  const TRect r = ClientRect();
  return Rect(r.Left + 1, r.Top + 1, std::max(r.Left + 1, r.Right - 1), std::max(r.Top + 1, r.Bottom - 1));
}

const TRichLayout& TCustomRichEdit::Layout() {
  if (!layoutValid_) {
    layout_.Build(doc_, Canvas(), wordWrap_ ? std::max(1, FormatRect().Width()) : 0);
    layoutValid_ = true;
  } else if (layoutChange_) {
    layout_.Update(Canvas(), *layoutChange_);
  }
  layoutChange_.reset();
  return layout_;
}

TPoint TCustomRichEdit::ContentOrigin() const {
  const TRect r = FormatRect();
  return {r.Left - scrollX_, r.Top - scrollY_};
}

size_t TCustomRichEdit::PosAtClientPoint(TPoint p) {
  const TPoint origin = ContentOrigin();
  return Layout().PosAtPoint({p.X - origin.X, p.Y - origin.Y});
}

void TCustomRichEdit::ScrollTo(int x, int y) {
  const TRichLayout& layout = Layout();
  const TRect r = FormatRect();
  x = std::clamp(x, 0, std::max(0, layout.Width() - r.Width() + 1));
  y = std::clamp(y, 0, std::max(0, layout.Height() - r.Height()));
  if (x != scrollX_ || y != scrollY_) {
    scrollX_ = x;
    scrollY_ = y;
    Invalidate();
  }
  UpdateScrollBars();
}

void TCustomRichEdit::UpdateScrollBars() {
  if (scrollBars_ == TScrollStyle::ssNone || !HandleAllocated()) return;
  const TRichLayout& layout = Layout();
  const TRect r = FormatRect();
  // The horizontal range reaches one pixel past the widest line, for the caret after its end.
  if (scrollBars_ != TScrollStyle::ssVertical) SetScrollBarRange(Handle(), SB_HORZ, layout.Width(), r.Width(), scrollX_);
  if (scrollBars_ != TScrollStyle::ssHorizontal)
    SetScrollBarRange(Handle(), SB_VERT, std::max(0, layout.Height() - 1), r.Height(), scrollY_);
}

void TCustomRichEdit::Scroll(int bar, WORD code) {
  if (code > SB_BOTTOM) return;
  const TRichLayout& layout = Layout();
  const TRect r = FormatRect();
  const bool vertical = bar == SB_VERT;
  const int line = vertical ? layout.Line(0).height : std::max(1, r.Width() / 16);
  const int64_t target = ScrollCodeTarget(Handle(), bar, code, vertical ? scrollY_ : scrollX_, line,
                                          vertical ? r.Height() : r.Width(), 0, INT32_MAX);
  const int to = static_cast<int>(std::clamp<int64_t>(target, 0, INT32_MAX));
  ScrollTo(vertical ? scrollX_ : to, vertical ? to : scrollY_);
}

void TCustomRichEdit::ScrollCaretIntoView() {
  const TRichLayout& layout = Layout();
  const TRichLayout::TLine line = layout.Line(layout.LineOf(caret_));
  const TRect r = FormatRect();
  int x = scrollX_, y = scrollY_;
  if (line.top < y) y = line.top;
  else if (line.top + line.height > y + r.Height()) y = line.top + line.height - r.Height();
  // Sideways (lines that do not wrap) in jumps of a quarter of the width, as the edit does.
  const int caretX = layout.XOf(caret_);
  if (caretX < x) x = std::max(0, caretX - r.Width() / 4);
  else if (caretX >= x + r.Width()) x = caretX - r.Width() + r.Width() / 4 + 1;
  ScrollTo(x, y);
}

void TCustomRichEdit::Paint() {
  ScrollTo(scrollX_, scrollY_);  // within what a new size or text leaves, with the bars in step
  TCanvas& canvas = Canvas();
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
  const TRichLayout& layout = Layout();
  const TRect r = FormatRect();
  HDC dc = canvas.Handle();
  CanvasStateGuard state(canvas);
  IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
  const bool showSelection = anchor_ != caret_ && (Focused() || !HideSelection);
  const TColor autoColor = Enabled() ? Font().Color() : clGrayText;
  const int first = layout.LineAtY(scrollY_);
  int last = first;
  while (last < layout.LineCount() && layout.Line(last).top < scrollY_ + r.Height()) ++last;
  layout.Draw(canvas, ContentOrigin(), first, last, showSelection ? SelFirst() : 0,
              showSelection ? SelLast() : 0, autoColor);
  if (Focused() && layout.LineCount() > 0) {
    const TRichLayout::TLine line = layout.Line(layout.LineOf(caret_));
    const TPoint origin = ContentOrigin();
    const int x = origin.X + layout.XOf(caret_);
    canvas.Pen().SetColor(clWindowText);
    canvas.Pen().SetWidth(1);
    canvas.MoveTo(x, origin.Y + line.top);
    canvas.LineTo(x, origin.Y + line.top + line.height);
  }
}

LRESULT TCustomRichEdit::FormatRange(bool draw, FORMATRANGE* range) {
  if (!range || !range->hdc) return 0;
  TCanvas& canvas = *range->hdc;
  CanvasStateGuard state(canvas);  // the caller's canvas comes back as it was, as a device context's would
  const int dpiX = std::max(1, GetDeviceCaps(range->hdc, LOGPIXELSX));
  const int dpiY = std::max(1, GetDeviceCaps(range->hdc, LOGPIXELSY));
  const TRect r = Rect(MulDiv(range->rc.Left, dpiX, 1440), MulDiv(range->rc.Top, dpiY, 1440),
                       MulDiv(range->rc.Right, dpiX, 1440), MulDiv(range->rc.Bottom, dpiY, 1440));
  const size_t from = ByteOf(range->chrg.cpMin);
  const size_t to = range->chrg.cpMax < 0 ? doc_.Text().size() : std::max(from, ByteOf(range->chrg.cpMax));
  const TRichText part = doc_.Range(0, to);
  TRichLayout layout;
  layout.Build(part, canvas, std::max(1, r.Width()), from, r.Height());
  // Only whole lines are rendered; at least one, so that a range always moves on.
  int count = layout.LineCount();
  while (count > 1 && layout.Line(count - 1).top + layout.Line(count - 1).height > r.Height()) --count;
  if (draw) {
    IntersectClipRect(canvas.Handle(), r.Left, r.Top, r.Right, r.Bottom);
    layout.Draw(canvas, {r.Left, r.Top}, 0, count, 0, 0, clWindowText);
  }
  const TRichLayout::TLine last = layout.Line(count - 1);
  range->rc.Bottom = range->rc.Top + MulDiv(last.top + last.height, 1440, dpiY);
  return CharOf(std::min(last.next, to));
}

void TCustomRichEdit::SendRequestResize() {
  if (!(eventMask_ & ENM_REQUESTRESIZE)) return;
  const TRichLayout& layout = Layout();
  const TRect f = FormatRect();
  // Lines that do not wrap ask for their width too.
  const TRect wanted = Rect(f.Left, f.Top, wordWrap_ ? f.Right : f.Left + layout.Width(), f.Top + layout.Height());
  if (requested_ && *requested_ == wanted) return;
  requested_ = wanted;
  REQRESIZE request;
  request.nmhdr.code = EN_REQUESTRESIZE;
  request.nmhdr.hwndFrom = HandleAllocated() ? Handle() : HWND{};
  request.rc = wanted;
  Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
}

}  // namespace platform

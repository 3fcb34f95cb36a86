#include "platform/ui/DateTimePicker.h"

#include <algorithm>

#include "platform/gfx/CanvasStateGuard.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Backend.h"
#include "platform/ui/CalendarWindow.h"
#include "platform/ui/ClassicLook.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

constexpr int kButtonWidth = 16;
constexpr int kCheckBoxSize = 13;
constexpr int kTextInset = 2;

bool IsField(const TDateTimeSegment& segment) { return segment.field != TDateTimeField::None; }

}  // namespace

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TCustomControl(AOwner), dateTime_(Now()) {
  SetControlStyle(ControlStyle() - TControlStyleFlag::csSetCaption - TControlStyleFlag::csCaptureMouse +
                  TControlStyleFlag::csOpaque);
  SetBounds(0, 0, 186, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TDateTimePicker::~TDateTimePicker() = default;

void TDateTimePicker::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TDateTimePicker::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      // While the calendar is open, Enter and Escape are its keys too.
      Message.Result = DLGC_WANTARROWS | (DroppedDown() ? DLGC_WANTALLKEYS : 0);
      return;
    case WM_KILLFOCUS:
      typed_.clear();
      SetDroppedDown(false);
      Invalidate();
      break;
    case WM_SETFOCUS:
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
      Invalidate();
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TDateTimePicker::Change() {
  if (OnChange) OnChange(this);
}

TDateTime TDateTimePicker::Clamped(TDateTime value) const {
  const TDateTime date = DatePart(value);
  if (minDate_ != 0 && date < DatePart(minDate_)) return CombineDateTime(DatePart(minDate_), TimeOfDay(value));
  if (maxDate_ != 0 && date > DatePart(maxDate_)) return CombineDateTime(DatePart(maxDate_), TimeOfDay(value));
  return value;
}

void TDateTimePicker::SetDateTime(TDateTime value) {
  value = Clamped(value);
  if (value == dateTime_) return;
  dateTime_ = value;
  Invalidate();
}

void TDateTimePicker::SetMinDate(TDateTime value) {
  if (value != 0 && maxDate_ != 0 && DatePart(value) > DatePart(maxDate_))
    throw EDateTimeError("The earliest date " + DateToStr(value) + " lies after the latest " + DateToStr(maxDate_));
  minDate_ = value;
  SetDateTime(dateTime_);
}

void TDateTimePicker::SetMaxDate(TDateTime value) {
  if (value != 0 && minDate_ != 0 && DatePart(value) < DatePart(minDate_))
    throw EDateTimeError("The latest date " + DateToStr(value) + " lies before the earliest " + DateToStr(minDate_));
  maxDate_ = value;
  SetDateTime(dateTime_);
}

void TDateTimePicker::SetKind(TDateTimeKind value) {
  if (kind_ == value) return;
  SetDroppedDown(false);
  kind_ = value;
  selected_ = -1;
  typed_.clear();
  Invalidate();
}

void TDateTimePicker::SetDateMode(TDTDateMode value) {
  if (dateMode_ == value) return;
  SetDroppedDown(false);
  dateMode_ = value;
  Invalidate();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat value) {
  if (dateFormat_ == value) return;
  dateFormat_ = value;
  selected_ = -1;
  typed_.clear();
  Invalidate();
}

void TDateTimePicker::SetShowCheckbox(bool value) {
  if (showCheckbox_ == value) return;
  showCheckbox_ = value;
  Invalidate();
}

void TDateTimePicker::SetChecked(bool value) {
  if (checked_ == value) return;
  checked_ = value;
  Invalidate();
}

std::vector<TDateTimeSegment> TDateTimePicker::Segments() const {
  const TFormatSettings& settings = FormatSettings();
  const std::string& format = kind_ == TDateTimeKind::dtkTime         ? settings.LongTimeFormat
                              : dateFormat_ == TDTDateFormat::dfShort ? settings.ShortDateFormat
                                                                      : settings.LongDateFormat;
  return SplitDateTimeFormat(format, settings);
}

std::string TDateTimePicker::DisplayText() const {
  std::string text;
  for (const TDateTimeSegment& segment : Segments()) text += SegmentText(segment, dateTime_, FormatSettings());
  return text;
}

int TDateTimePicker::SelectedSegment(const std::vector<TDateTimeSegment>& segments) const {
  if (selected_ >= 0 && selected_ < static_cast<int>(segments.size()) && IsField(segments[static_cast<size_t>(selected_)]))
    return selected_;
  const auto first = std::find_if(segments.begin(), segments.end(), IsField);
  return first == segments.end() ? -1 : static_cast<int>(first - segments.begin());
}

TDateTimeField TDateTimePicker::SelectedField() const {
  const std::vector<TDateTimeSegment> segments = Segments();
  const int selected = SelectedSegment(segments);
  return selected < 0 ? TDateTimeField::None : segments[static_cast<size_t>(selected)].field;
}

void TDateTimePicker::SelectField(int segment) {
  typed_.clear();
  if (selected_ == segment) return;
  selected_ = segment;
  Invalidate();
}

void TDateTimePicker::MoveSelection(int direction) {
  typed_.clear();
  const std::vector<TDateTimeSegment> segments = Segments();
  const int at = SelectedSegment(segments);
  for (int i = at + direction; at >= 0 && i >= 0 && i < static_cast<int>(segments.size()); i += direction) {
    if (IsField(segments[static_cast<size_t>(i)])) {
      SelectField(i);
      return;
    }
  }
}

void TDateTimePicker::StepSelected(int delta) {
  typed_.clear();
  ChangeTo(StepDateTimeField(dateTime_, SelectedField(), delta));
}

void TDateTimePicker::ChangeTo(TDateTime value) {
  value = Clamped(value);
  const bool wasChecked = checked_;
  SetChecked(true);
  if (value == dateTime_ && wasChecked) return;
  SetDateTime(value);
  Change();
}

void TDateTimePicker::TypeDigit(char32_t digit) {
  const std::vector<TDateTimeSegment> segments = Segments();
  const int selected = SelectedSegment(segments);
  if (selected < 0) return;
  const TDateTimeSegment& segment = segments[static_cast<size_t>(selected)];
  const int maximum = DateTimeFieldMaximum(dateTime_, segment.field);
  if (maximum == 0) {
    Backend().Beep();
    return;
  }
  typed_ += static_cast<char>(digit);
  int number = std::stoi(typed_);
  // The 12-hour clock: 1..12 within the half of the day shown.
  const bool twelveHour = segment.field == TDateTimeField::Hour && segment.spec.find(' ') != std::string::npos;
  if (twelveHour && number >= 1 && number <= 12) {
    int hour = 0, minute = 0, second = 0, ms = 0;
    DecodeTime(dateTime_, hour, minute, second, ms);
    number = number % 12 + (hour >= 12 ? 12 : 0);
  }
  const int digits = static_cast<int>(std::to_string(maximum).size());
  const bool complete = static_cast<int>(typed_.size()) >= digits || std::stoi(typed_) * 10 > (twelveHour ? 12 : maximum);
  TDateTime value = dateTime_;
  const bool valid = (segment.field != TDateTimeField::Year || complete) &&
                     SetDateTimeField(dateTime_, segment.field, number, value);
  TGuard guard(*this);
  if (valid) ChangeTo(value);  // its OnChange may free the picker
  if (!complete || guard.Gone()) return;
  typed_.clear();
  if (valid)
    MoveSelection(1);
  else
    Backend().Beep();
}

TRect TDateTimePicker::CheckBoxRect() const {
  if (!showCheckbox_) return {};
  const int top = (ClientHeight() - kCheckBoxSize) / 2;
  return Rect(kTextInset, top, kTextInset + kCheckBoxSize, top + kCheckBoxSize);
}

TRect TDateTimePicker::ButtonRect() const {
  const TRect client = ClientRect();
  return Rect(std::max(client.Left, client.Right - kButtonWidth), client.Top, client.Right, client.Bottom);
}

std::vector<TRect> TDateTimePicker::SegmentRects() {
  TCanvas& canvas = Canvas();
  canvas.SetFont(Font());
  int x = showCheckbox_ ? CheckBoxRect().Right + kTextInset : kTextInset;
  std::vector<TRect> rects;
  for (const TDateTimeSegment& segment : Segments()) {
    const int width = canvas.TextWidth(SegmentText(segment, dateTime_, FormatSettings()));
    rects.push_back(Rect(x, 0, x + width, ClientHeight()));
    x += width;
  }
  return rects;
}

TDateTimePicker::TPart TDateTimePicker::PartAt(TPoint p, int& segment) {
  segment = -1;
  if (PtInRect(ButtonRect(), p)) {
    if (HasDropButton()) return TPart::DropButton;
    return p.Y < ClientHeight() / 2 ? TPart::UpButton : TPart::DownButton;
  }
  if (showCheckbox_ && p.X < CheckBoxRect().Right + kTextInset) return TPart::CheckBox;
  const std::vector<TDateTimeSegment> segments = Segments();
  const std::vector<TRect> rects = SegmentRects();
  // The field at the point, or the nearest one before it (a click on a separator or after the text).
  for (size_t i = 0; i < rects.size(); ++i) {
    if (IsField(segments[i]) && rects[i].Left <= p.X) segment = static_cast<int>(i);
    if (rects[i].Right > p.X && segment >= 0) break;
  }
  return segment >= 0 ? TPart::Field : TPart::None;
}

void TDateTimePicker::Paint() {
  TCanvas& canvas = Canvas();
  const TRect client = ClientRect();
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(Enabled() ? Color() : clBtnFace);
  canvas.FillRect(client);
  if (showCheckbox_) {
    TRect box = CheckBoxRect();
    DrawFrameControl(canvas.Handle(), box, DFC_BUTTON,
                     DFCS_BUTTONCHECK | (checked_ ? DFCS_CHECKED : 0) | (Enabled() ? 0 : DFCS_INACTIVE));
  }
  const std::vector<TDateTimeSegment> segments = Segments();
  const std::vector<TRect> rects = SegmentRects();
  const int selected = SelectedSegment(segments);
  {
    HDC dc = canvas.Handle();
    CanvasStateGuard state(canvas);
    IntersectClipRect(dc, client.Left, client.Top, ButtonRect().Left, client.Bottom);
    for (size_t i = 0; i < segments.size(); ++i) {
      const bool highlighted = static_cast<int>(i) == selected && Focused() && checked_ && !DroppedDown();
      canvas.Font().SetColor(!Enabled() || !checked_ ? clGrayText : highlighted ? clHighlightText : Font().Color());
      TRect r = rects[i];
      if (highlighted) {
        canvas.Brush().SetColor(clHighlight);
        canvas.FillRect(Rect(r.Left, 2, r.Right, client.Bottom - 2));
      }
      DrawCaption(canvas, SegmentText(segments[i], dateTime_, FormatSettings()), r,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, true);
    }
  }
  TRect button = ButtonRect();
  const unsigned inactive = Enabled() ? 0 : DFCS_INACTIVE;
  if (HasDropButton()) {
    DrawFrameControl(canvas.Handle(), button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | inactive | (DroppedDown() ? DFCS_PUSHED : 0));
    return;
  }
  TRect up = Rect(button.Left, button.Top, button.Right, button.Top + button.Height() / 2);
  TRect down = Rect(button.Left, up.Bottom, button.Right, button.Bottom);
  DrawFrameControl(canvas.Handle(), up, DFC_SCROLL, DFCS_SCROLLUP | inactive);
  DrawFrameControl(canvas.Handle(), down, DFC_SCROLL, DFCS_SCROLLDOWN | inactive);
}

void TDateTimePicker::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  const bool alt = Shift.Contains(TShiftStateFlag::ssAlt);
  if (Key == VK_F4 || (alt && (Key == VK_DOWN || Key == VK_UP))) {
    SetDroppedDown(!DroppedDown());
    Key = 0;
    return;
  }
  if (DroppedDown()) {
    if (calendar_->Key(Key)) Key = 0;
    return;
  }
  switch (Key) {
    case VK_LEFT:
    case VK_RIGHT: MoveSelection(Key == VK_LEFT ? -1 : 1); break;
    case VK_UP:
    case VK_DOWN: StepSelected(Key == VK_UP ? 1 : -1); break;
    case VK_SPACE:
      if (!showCheckbox_) return;
      SetChecked(!checked_);
      Change();
      break;
    default: return;
  }
  Key = 0;
}

void TDateTimePicker::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  if (Key >= U'0' && Key <= U'9') {
    TypeDigit(Key);
    Key = 0;
    return;
  }
  // A separator moves on to the next field, as it would after the field's last digit.
  const std::vector<TDateTimeSegment> segments = Segments();
  const auto next = static_cast<size_t>(SelectedSegment(segments) + 1);
  if (Key > U' ' && Key < 0x80 && next < segments.size() && !IsField(segments[next]) &&
      segments[next].spec.find(static_cast<char>(Key)) != std::string::npos) {
    MoveSelection(1);
    Key = 0;
  }
}

void TDateTimePicker::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGuard guard(*this);
  if (Button == TMouseButton::mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    if (guard.Gone()) return;
    int segment = -1;
    switch (PartAt({X, Y}, segment)) {
      case TPart::CheckBox:
        SetChecked(!checked_);
        Change();
        break;
      case TPart::Field: SelectField(segment); break;
      case TPart::DropButton: SetDroppedDown(!DroppedDown()); break;
      case TPart::UpButton: StepSelected(1); break;
      case TPart::DownButton: StepSelected(-1); break;
      case TPart::None: break;
    }
    if (guard.Gone()) return;
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

bool TDateTimePicker::DroppedDown() const { return calendar_ && calendar_->IsOpen(); }

TCalendarWindow* TDateTimePicker::Calendar() const { return DroppedDown() ? calendar_.get() : nullptr; }

void TDateTimePicker::SetDroppedDown(bool value) {
  if (value == DroppedDown()) return;
  if (!value) {
    calendar_->Close();
    return;
  }
  if (!HasDropButton() || !IsShowing()) return;
  if (!calendar_) calendar_ = std::make_unique<TCalendarWindow>(*this);
  TGuard guard(*this);
  if (OnDropDown) OnDropDown(this);
  if (guard.Gone()) return;
  calendar_->OpenAt(checked_ ? Date() : Clamped(::platform::Date()));
  Invalidate();
}

void TDateTimePicker::CalendarClosed(bool picked, TDateTime date) {
  Invalidate();
  TGuard guard(*this);
  if (picked && (!checked_ || DatePart(date) != Date())) {
    SetChecked(true);
    SetDate(date);
    Change();
    if (guard.Gone()) return;
  }
  if (OnCloseUp) OnCloseUp(this);
}

}  // namespace platform

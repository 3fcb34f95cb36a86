#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/ui/Controls.h"

namespace platform {

// An edit's text as the keys and characters that the edit and the rich edit share see it: the text
// and its selection (byte offsets at caret stops), its lines as laid out, and the edit's own ways of
// moving the caret, deleting and typing. Each edit hands its own to PerformEditInput.
class TEditKeyModel {
public:
  virtual ~TEditKeyModel() = default;

  // The control that performs the shortcuts' messages.
  virtual TControl& Control() = 0;
  virtual const std::string& Text() = 0;
  virtual size_t Anchor() = 0;
  virtual size_t Caret() = 0;
  // A single-line text: Home and End go to its ends, Up and Page Up move as Left, Down and Page Down
  // as Right, and Tab types nothing.
  virtual bool Multiline() = 0;

  // The lines, laid out by LineCount (which the keys ask first).
  virtual int LineCount() = 0;
  virtual int LineOf(size_t pos) = 0;
  virtual size_t LineStart(int line) = 0;
  virtual size_t LineEnd(int line) = 0;
  // Pixels from the line's left edge to pos, and the caret stop of the line nearest to x.
  virtual int XOf(int line, size_t pos) = 0;
  virtual size_t PosAtX(int line, int x) = 0;
  // How many lines Page Up and Page Down move from `line`; ScrollLines hears of the move (negative
  // upwards) before the caret moves.
  virtual int PageLines(int line) = 0;
  virtual void ScrollLines(int lines) = 0;
  // The column that Up and Down keep, -1 when none; moving the caret forgets it.
  virtual int DesiredX() = 0;
  virtual void SetDesiredX(int x) = 0;

  // False when a handler of the selection change freed the edit: nothing of it may be touched then.
  virtual bool SetCaret(size_t pos, bool extend) = 0;
  // Removes the text between the caret and `other` (or refuses, as a read-only edit does).
  virtual void DeleteTowards(size_t other) = 0;
  // What a typed CR or LF inserts; empty when it is no character for this text.
  virtual std::string_view LineBreakFor(char32_t c) = 0;
  // Inserts typed text in place of the selection (or refuses, as a read-only edit does).
  virtual void Type(std::string_view typed) = 0;
};

// The keys (WM_KEYDOWN) and characters (WM_CHAR) that the edit and the rich edit take alike, on the
// edit's model. True when the message was one of them; it then goes no further.
//
// Keys: Left and Right (by words with Ctrl), Home and End (of the text with Ctrl), Up, Down, Page Up
// and Page Down keeping the column, and Delete; Shift extends the selection. Ctrl+Insert copies,
// Shift+Insert pastes and Shift+Delete cuts. Characters: Backspace; Ctrl+A selects all and Ctrl+C,
// Ctrl+V, Ctrl+X and Ctrl+Z copy, paste, cut and undo (as the messages EM_SETSEL, WM_COPY, WM_PASTE,
// WM_CUT and WM_UNDO to the control); CR, LF and Tab as the model takes them; every other
// character except the control characters, surrogates and values beyond Unicode is typed.
bool PerformEditInput(TEditKeyModel& edit, const TMessage& Message);

}  // namespace platform

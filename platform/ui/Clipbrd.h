#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// A clipboard format: the standard text formats, or a number that RegisterClipboardFormat handed out
// for a name. Text is UTF-8 in every text format; CF_TEXT and CF_UNICODETEXT are the same text. Data
// of every format is exactly the bytes given, with no terminating zero added or expected.
using TClipboardFormat = unsigned;
inline constexpr TClipboardFormat CF_TEXT = 1;
inline constexpr TClipboardFormat CF_UNICODETEXT = 13;

// The format registered under `name` (compared ignoring ASCII case), the same number for the same name
// for the life of the process; 0 for an empty name. "Rich Text Format" is the backend's rich text, which
// other programs see as text/rtf; other names travel as they are.
TClipboardFormat RegisterClipboardFormat(std::string_view name);

// The program's clipboard, on top of the backend's (other programs share it where the backend has a
// display). A write outside Open/Close replaces everything on the clipboard; between Open and Close
// (which nest) the first write or Clear replaces, and each later write adds a format, so that one copy
// offers several formats together. Reads never change the clipboard.
class TClipboard {
public:
  void Open();
  void Close();
  // Empties the clipboard.
  void Clear();

  // The clipboard's text; empty when it holds none.
  std::string AsText();
  void SetAsText(std::string_view text);

  bool HasFormat(TClipboardFormat format);
  // The bytes stored under a format; none when the clipboard does not hold it.
  std::optional<std::string> GetBuffer(TClipboardFormat format);
  void SetBuffer(TClipboardFormat format, std::string_view data);

private:
  int openCount_ = 0;
  bool emptied_ = false;  // a write or Clear already replaced the clipboard in this Open/Close group
};

// The one clipboard object of the process.
TClipboard& Clipboard();

}  // namespace platform

#include "platform/ui/Clipbrd.h"

#include <vector>

#include "platform/core/Ascii.h"
#include "platform/core/Exception.h"
#include "platform/ui/Backend.h"

namespace platform {

namespace {

constexpr TClipboardFormat kFirstRegisteredFormat = 0xC000;
constexpr std::string_view kRichTextFormatName = "Rich Text Format";

// The names of the registered formats, by number from kFirstRegisteredFormat.
std::vector<std::string>& RegisteredNames() {
  static std::vector<std::string> names;
  return names;
}

// The backend's name of a format; none for a number that was never handed out.
std::optional<std::string_view> BackendFormat(TClipboardFormat format) {
  if (format == CF_TEXT || format == CF_UNICODETEXT) return kClipboardText;
  const std::vector<std::string>& names = RegisteredNames();
  if (format < kFirstRegisteredFormat || format - kFirstRegisteredFormat >= names.size()) return std::nullopt;
  const std::string& name = names[format - kFirstRegisteredFormat];
  if (SameText(name, kRichTextFormatName)) return kClipboardRichText;
  return name;
}

}  // namespace

TClipboardFormat RegisterClipboardFormat(std::string_view name) {
  if (name.empty()) return 0;
  std::vector<std::string>& names = RegisteredNames();
  for (size_t i = 0; i < names.size(); ++i)
    if (SameText(names[i], name)) return kFirstRegisteredFormat + static_cast<TClipboardFormat>(i);
  names.emplace_back(name);
  return kFirstRegisteredFormat + static_cast<TClipboardFormat>(names.size() - 1);
}

void TClipboard::Open() {
  if (openCount_++ == 0) emptied_ = false;
}

void TClipboard::Close() {
  if (openCount_ > 0) --openCount_;
}

void TClipboard::Clear() {
  Backend().ClearClipboard();
  emptied_ = openCount_ > 0;
}

std::string TClipboard::AsText() { return GetBuffer(CF_TEXT).value_or(std::string()); }

void TClipboard::SetAsText(std::string_view text) { SetBuffer(CF_TEXT, text); }

bool TClipboard::HasFormat(TClipboardFormat format) {
  const std::optional<std::string_view> name = BackendFormat(format);
  return name && Backend().HasClipboardFormat(*name);
}

std::optional<std::string> TClipboard::GetBuffer(TClipboardFormat format) {
  const std::optional<std::string_view> name = BackendFormat(format);
  if (!name) return std::nullopt;
  return Backend().GetClipboard(*name);
}

void TClipboard::SetBuffer(TClipboardFormat format, std::string_view data) {
  const std::optional<std::string_view> name = BackendFormat(format);
  if (!name) throw Exception("The clipboard format " + std::to_string(format) + " is not registered");
  const bool add = openCount_ > 0 && emptied_;
  Backend().SetClipboard(*name, data, add ? TBackend::TClipboardWrite::Add : TBackend::TClipboardWrite::Replace);
  emptied_ = openCount_ > 0;
}

TClipboard& Clipboard() {
  static TClipboard clipboard;
  return clipboard;
}

}  // namespace platform

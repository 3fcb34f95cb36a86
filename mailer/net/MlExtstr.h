#pragma once

#include <string>

#include "platform/core/StringList.h"

namespace mailnet {

// A string list of header lines "Name: value". Names compare without regard to ASCII case; a line
// without ":" has no name. Values and SetValues hide the list's "=" forms with the ":" forms.
class TExStringList : public platform::TStringList {
public:
  // The first line named Name, -1 when none (a sorted list is searched by halving).
  int IndexOfName(const std::string& Name) const override;
  // The text after the name's ":", without one leading blank; "" when no line has the name.
  std::string Values(const std::string& Name) const;
  // A non-empty value replaces the named line by Name (as spelled here), ": " and Value, or appends that
  // line; an empty value deletes the named line.
  void SetValues(const std::string& Name, const std::string& Value);

private:
  // The text of line Index before its first ":", or false when it has none.
  bool NameOf(int Index, std::string& Name) const;
};

}  // namespace mailnet

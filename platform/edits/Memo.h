#pragma once

#include "platform/core/StringList.h"
#include "platform/edits/Edit.h"
#include "platform/ui/ScrollInfo.h"

namespace platform {


// A multi-line edit whose text is also a list of lines: Lines and the text are kept equal (the lines
// joined by CR LF, without a break after the last), whichever of them changes. The memo owns Lines.
class TCustomMemo : public TCustomEdit {
public:
  explicit TCustomMemo(TComponent* AOwner);

  void Dispatch(TMessage& Message) override;

  TStringList& Lines() { return lines_; }
  void SetLines(const std::vector<std::string>& value);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  // Long lines break at blanks to fit the width; otherwise they scroll sideways.
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  // Enter types a line break (otherwise it is left to the form, Ctrl+Enter types one); Tab types a tab.
  bool WantReturns = true;
  bool WantTabs = false;

protected:
  void CreateParams(TCreateParams& Params) override;

private:
  void LinesChanged();
  // Makes Lines equal to the text again after the edit's own change of it: only the paragraphs that
  // the change touches are set.
  void FollowChange(const TTextChange& change);
  void FindParagraphs();

  TStringList lines_;
  TScrollStyle scrollBars_ = TScrollStyle::ssNone;
  bool wordWrap_ = true;
  bool syncing_ = false;  // the text and the lines are being made equal
  // Where the text's paragraphs start: those that Lines holds and, when the text ends with a line
  // break, the empty one after it that Lines leaves out.
  std::vector<size_t> paragraphs_;
};

class TMemo : public TCustomMemo {
public:
  using TCustomMemo::TCustomMemo;
};

}  // namespace platform

#pragma once

#include "platform/core/StringList.h"
#include "platform/edits/Edit.h"
#include "platform/edits/ParagraphLines.h"
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

  TStringList lines_;
  TScrollStyle scrollBars_ = TScrollStyle::ssNone;
  bool wordWrap_ = true;
  bool syncing_ = false;  // the text and the lines are being made equal
  TParagraphLines paragraphs_{lines_};  // keeps Lines equal to the text after the edit's own changes
};

class TMemo : public TCustomMemo {
public:
  using TCustomMemo::TCustomMemo;
};

}  // namespace platform

#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

// Expands the tags of an HTML template. A tag is "<#" directly followed by its name, optionally
// blank-separated parameters (double quotes group a parameter that holds blanks), then ">". Everything
// outside tags, and every "<" not followed by "#", is copied unchanged; an unterminated "<#" is copied as
// text. Each tag is replaced by the text that OnHTMLTag puts into ReplaceText, which starts empty, so a tag
// the handler does not know is replaced by nothing. The tag name reaches the handler as written.
class TPageProducer {
public:
  using THTMLTagEvent = std::function<void(TPageProducer& Sender, const std::string& TagString,
                                           const std::vector<std::string>& TagParams, std::string& ReplaceText)>;

  // The template file, read from disk at every Content() call so it can be edited between pages.
  const std::string& HTMLFile() const { return htmlFile_; }
  void SetHTMLFile(const std::string& path) { htmlFile_ = path; }

  // The template file with its tags replaced; raises EFOpenError naming the file when it cannot be
  // read or is no regular file (a FIFO is refused at once, never waited on).
  std::string Content();

  // The given template text with its tags replaced.
  std::string ContentFromString(const std::string& templateText);

  THTMLTagEvent OnHTMLTag;

private:
  std::string htmlFile_;
};

}  // namespace platform

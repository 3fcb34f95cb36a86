#include "platform/core/PageProducer.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/core/Exception.h"

namespace platform {
namespace {

// Answers NAME with "velmora" and ECHO with its parameters joined by "|"; every other tag is unknown.
std::string Expand(const std::string& text, std::vector<std::string>* seenTags = nullptr) {
  TPageProducer producer;
  producer.OnHTMLTag = [&](TPageProducer&, const std::string& tag, const std::vector<std::string>& params,
                           std::string& replace) {
    if (seenTags) seenTags->push_back(tag);
    if (tag == "NAME") replace = "velmora";
    if (tag == "ECHO") {
      for (const std::string& p : params) replace += (replace.empty() ? "" : "|") + p;
    }
  };
  return producer.ContentFromString(text);
}

TEST(PageProducerTest, ReplacesTagsAndCopiesEverythingElse) {
  struct Case {
    const char* input;
    const char* expected;
  } cases[] = {
      {"<p><#NAME></p>", "<p>velmora</p>"},
      {"<#NAME><#NAME>", "velmoravelmora"},
      {"a <#UNKNOWN> b", "a  b"},
      {"<#name>", ""},  // names are compared exactly: lower case is another tag
      {"<#ECHO one two>", "one|two"},
      {"<#ECHO \"a b\" c>", "a b|c"},
      {"<#NAME param=1>", "velmora"},
      {"x < y <b>bold</b> <!-- c -->", "x < y <b>bold</b> <!-- c -->"},
      {"no tags at all", "no tags at all"},
      {"open <#NAME", "open <#NAME"},
      {"<#>", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Expand(c.input), c.expected) << c.input;
}

TEST(PageProducerTest, HandlerSeesTheTagNameWithoutParameters) {
  std::vector<std::string> tags;
  Expand("<#A 1 2><#B>", &tags);
  EXPECT_EQ(tags, (std::vector<std::string>{"A", "B"}));
}

TEST(PageProducerTest, ContentReadsTheTemplateFileEachTime) {
  std::string path = ::testing::TempDir() + "page-producer.vdr";
  TPageProducer producer;
  producer.SetHTMLFile(path);
  producer.OnHTMLTag = [](TPageProducer&, const std::string&, const std::vector<std::string>&,
                          std::string& replace) { replace = "!"; };
  std::ofstream(path, std::ios::binary) << "one<#X>";
  EXPECT_EQ(producer.Content(), "one!");
  std::ofstream(path, std::ios::binary) << "two<#X>";
  EXPECT_EQ(producer.Content(), "two!");

  producer.SetHTMLFile(path + ".missing");
  EXPECT_THROW(producer.Content(), EFOpenError);
}

}  // namespace
}  // namespace platform

#include "platform/core/PageProducer.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "platform/core/Exception.h"
#include "platform/core/tests/FifoWriters.h"
#include "platform/core/tests/TempFolder.h"

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

// A FIFO as the template held the page's writer for ever. Anything but a regular file is refused at
// once, naming the file.
TEST(PageProducerTest, ATemplateThatIsNoRegularFileIsRefusedNamingIt) {
  TempFolder folder;
  const std::string fifo = folder.File("status1.vdr");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const FifoWriters writers(fifo);
  for (const std::string& file : {fifo, folder.File("")}) {
    TPageProducer producer;
    producer.SetHTMLFile(file);
    try {
      producer.Content();
      ADD_FAILURE() << file << " was read";
    } catch (const EFOpenError& e) {
      EXPECT_EQ(e.Message(), "Cannot open file \"" + file + "\". It is not a regular file.");
    }
  }
}

}  // namespace
}  // namespace platform

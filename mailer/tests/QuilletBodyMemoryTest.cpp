// The memory that a body file takes, counted at the heap.
#include <gtest/gtest.h>

#include "mailer/QuilletParameters.h"
#include "platform/core/Files.h"
#include "platform/core/tests/HeapCounter.h"
#include "platform/core/tests/TempFolder.h"

namespace quillet {
namespace {

// A body file of 16 MB in lines of 80 characters took 2.7 times its size: the file's bytes and, at the
// same time, a list line of its own for every line. It is now held once.
TEST(QuilletBodyMemoryTest, ABodyFileIsHeldOnce) {
  platform::TempFolder folder;
  const std::string file = folder.File("body.txt");
  std::string line(78, 'x');
  line += "\r\n";
  std::string text;
  for (size_t size = 0; size + line.size() <= MaxBodyFileBytes; size += line.size()) text += line;
  platform::WriteFileAtomic(file, text);
  const double bodyBytes = static_cast<double>(text.size());
  text = {};
  text.shrink_to_fit();

  for (const char* type : {"-btxt", "-bhtml"}) {
    SCOPED_TRACE(type);
    mailnet::TMlSMTP smtp(nullptr);
    const platform::test::HeapUse heap;
    ApplyParameters({"quillet", "-a", "x", type, file}, smtp);
    EXPECT_LE(heap.Peak() / bodyBytes, 1.1);
    EXPECT_LE(heap.Now() / bodyBytes, 1.1);
    EXPECT_EQ(smtp.PostMessage().Body().Text().size(), bodyBytes);
  }
}

}  // namespace
}  // namespace quillet

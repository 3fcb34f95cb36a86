#include "mailer/net/MlUUE.h"

#include <random>

#include "gtest/gtest.h"
#include "mailer/net/tests/ChildProcess.h"
#include "platform/core/Files.h"
#include "platform/core/tests/TempFolder.h"

namespace mailnet {
namespace {

using platform::TStringStream;

// The output of Encode or Decode (the member given) for input.
std::string Processed(const std::string& input, UUMethods method, void (TMlUUProcessor::*run)()) {
  TStringStream in(input), out;
  TMlUUProcessor processor(nullptr);
  processor.Method = method;
  processor.InputStream = &in;
  processor.OutputStream = &out;
  (processor.*run)();
  return out.DataString();
}

std::string Encoded(const std::string& data, UUMethods method) { return Processed(data, method, &TMlUUProcessor::Encode); }
std::string Decoded(const std::string& text, UUMethods method) { return Processed(text, method, &TMlUUProcessor::Decode); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// Random data of many lengths around the block and group boundaries, encoded here and by Python.
TEST(MlUUE, EncodingsMatchPythonOnRandomData) {
  platform::TempFolder folder;
  std::mt19937 random(7);
  std::vector<size_t> lengths;
  for (size_t n = 0; n <= 140; ++n) lengths.push_back(n);
  for (size_t n : {449, 450, 451, 4096, 32767, 32768, 32769, 100000}) lengths.push_back(n);
  std::vector<std::string> data;
  for (size_t n : lengths) {
    std::string bytes(n, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    data.push_back(bytes);
    platform::WriteFileAtomic(folder.File(std::to_string(n) + ".bin"), bytes);
  }
  test::ChildProcess python({test::kPython, test::TestScript("encode_reference.py"), folder.File("")});
  ASSERT_TRUE(python.Started());
  ASSERT_EQ(python.Wait(), 0);

  for (size_t i = 0; i < lengths.size(); ++i) {
    SCOPED_TRACE("length " + std::to_string(lengths[i]));
    std::string name = folder.File(std::to_string(lengths[i]));
    EXPECT_EQ(Encoded(data[i], uuMime), platform::ReadFileBytes(name + ".b64"));

    // Python fills the last UU group to four characters; ours stops after the characters that carry
    // bits, so each of our lines is Python's without that filling.
    std::vector<std::string> ours = Lines(Encoded(data[i], uuCode));
    std::vector<std::string> theirs = Lines(platform::ReadFileBytes(name + ".uu"));
    ASSERT_EQ(ours.size(), theirs.size());
    for (size_t k = 0; k < ours.size(); ++k) {
      size_t filling = (4 - (ours[k].size() - 1) % 4) % 4;
      EXPECT_EQ(ours[k] + std::string(filling, '`'), theirs[k]) << "line " << k;
    }

    EXPECT_EQ(Decoded(Encoded(data[i], uuMime), uuMime), data[i]);
    EXPECT_EQ(Decoded(Encoded(data[i], uuCode), uuCode), data[i]);
  }
}

TEST(MlUUE, LineLayout) {
  std::string block45(45, 'x');
  EXPECT_EQ(Lines(Encoded(block45, uuMime)).at(0).size(), 60u);
  std::vector<std::string> two = Lines(Encoded(block45 + "y", uuMime));
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[1], "eQ==");
  EXPECT_EQ(Lines(Encoded(block45, uuCode)).at(0).size(), 61u);

  EXPECT_EQ(Encoded("", uuMime), "");
  EXPECT_EQ(Encoded("", uuCode), "`\r\n");
}

TEST(MlUUE, EncodeRewindsAndCallsEndAlsoAfterFailure) {
  TStringStream input("abc"), output;
  input.SetPosition(2);
  TMlUUProcessor processor(nullptr);
  processor.InputStream = &input;
  processor.OutputStream = &output;
  std::vector<std::string> calls;
  processor.OnBeginEncode = [&](platform::TObject*) { calls.push_back("begin"); };
  processor.OnEndEncode = [&](platform::TObject*) { calls.push_back("end"); };
  processor.Encode();
  EXPECT_EQ(output.DataString(), "YWJj\r\n");
  EXPECT_EQ(output.Position(), 0);

  // An output stream that refuses to be written: the failure reaches the caller after OnEndEncode.
  struct FullStream : TStringStream {
    int64_t Write(const void*, int64_t) override { return 0; }
  } full;
  processor.OutputStream = &full;
  calls.clear();
  EXPECT_THROW(processor.Encode(), platform::EWriteError);
  EXPECT_EQ(calls, (std::vector<std::string>{"begin", "end"}));
}

TEST(MlUUE, DecodeSkipsShortAndBoundaryLines) {
  EXPECT_EQ(Decoded("====boundary\r\nYWJj\r\nx\r\n\r\nZGVm", uuMime), "abcdef");
  EXPECT_EQ(Base64Text("ab"), "YWI=");
}

}  // namespace
}  // namespace mailnet

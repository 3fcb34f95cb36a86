#include "platform/core/StringList.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/Files.h"
#include "platform/core/Streams.h"
#include "platform/core/tests/TempFolder.h"

namespace platform {
namespace {

std::vector<std::string> Lines(const TStringList& list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}

TEST(StringListTest, SetTextSplitsAtEveryKindOfLineBreak) {
  using V = std::vector<std::string>;
  struct Case {
    std::string text;
    V lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"\r\n", {""}},
      {"a\r\n\r\n\nb", {"a", "", "", "b"}},
      {"a\n\r", {"a", ""}},         // LF then CR: two breaks
      {"a\r\r\n", {"a", ""}},       // CR, then CR LF
      {"a\r\n\r\n", {"a", ""}},     // one trailing break only ends the last line
      {std::string("a\0b\nc", 5), {std::string("a\0b", 3), "c"}},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(Lines(list), c.lines) << testing::PrintToString(c.text);
  }
}

TEST(StringListTest, TextJoinsWithCrLfAndATrailingBreak) {
  TStringList list;
  EXPECT_EQ(list.Text(), "");
  list.Add("a");
  list.Add("");
  list.Add("b");
  EXPECT_EQ(list.Text(), "a\r\n\r\nb\r\n");
  TStringList again;
  again.SetText(list.Text());
  EXPECT_EQ(Lines(again), Lines(list));
}

TEST(StringListTest, SortedListsKeepOrderAndApplyDuplicates) {
  TStringList list;
  list.SetText("pear\nApple\nfig\napple");
  list.SetSorted(true);  // sorting keeps an existing duplicate and the order of equal lines
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"Apple", "apple", "fig", "pear"}));

  EXPECT_EQ(list.Add("FIG"), 2);  // dupIgnore: the index of the line already there
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Add("banana"), 2);
  EXPECT_EQ(list.IndexOf("PEAR"), 4);
  EXPECT_EQ(list.IndexOf("kiwi"), -1);
  int index;
  EXPECT_FALSE(list.Find("cherry", index));
  EXPECT_EQ(index, 3);

  list.SetDuplicates(dupAccept);
  EXPECT_EQ(list.Add("FIG"), 4);  // after the equal line
  EXPECT_EQ(list.Strings(3), "fig");

  list.SetDuplicates(dupError);
  try {
    list.Add("Banana");
    FAIL() << "no EListError";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "String list does not allow duplicates");
  }
  EXPECT_THROW(list.Insert(0, "x"), EListError);
  EXPECT_THROW(list.SetStrings(0, "x"), EListError);

  list.SetCaseSensitive(true);  // sorts again: upper case before lower case
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"Apple", "FIG", "apple", "banana", "fig", "pear"}));
  EXPECT_EQ(list.IndexOf("APPLE"), -1);
  EXPECT_EQ(list.Add("Fig"), 2);  // dupError only for an equal line by the case rule in force

  TStringList unsorted;
  unsorted.SetDuplicates(dupError);  // only sorted lists check duplicates
  unsorted.Add("x");
  unsorted.Add("X");
  EXPECT_EQ(unsorted.IndexOf("X"), 0);
  unsorted.SetCaseSensitive(true);
  EXPECT_EQ(unsorted.IndexOf("X"), 1);
}

TEST(StringListTest, BadIndicesRaiseListIndexOutOfBounds) {
  TStringList list;
  list.Add("a");
  for (int bad : {-1, 1}) {
    try {
      list.Strings(bad);
      FAIL() << bad;
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(bad) + ")");
    }
    EXPECT_THROW(list.SetStrings(bad, "x"), EListError);
    EXPECT_THROW(list.Objects(bad), EListError);
    EXPECT_THROW(list.Delete(bad), EListError);
  }
  EXPECT_THROW(list.Insert(2, "x"), EListError);
  list.Insert(1, "b");  // Count appends
  EXPECT_EQ(list.Text(), "a\r\nb\r\n");
}

TEST(StringListTest, NamesValuesAndObjects) {
  TStringList list;
  list.SetText("Host=one\nport\nHOST=two\n=empty\nkey=a=b");
  EXPECT_EQ(list.IndexOfName("host"), 0);
  EXPECT_EQ(list.IndexOfName("port"), -1);  // no "=" on the line
  EXPECT_EQ(list.Values("key"), "a=b");
  EXPECT_EQ(list.Values(""), "empty");
  EXPECT_EQ(list.Names(1), "");
  EXPECT_EQ(list.Names(4), "key");

  list.SetValues("host", "three");  // replaces the first, spelled as passed
  EXPECT_EQ(list.Strings(0), "host=three");
  list.SetValues("new", "v");
  EXPECT_EQ(list.Strings(list.Count() - 1), "new=v");
  list.SetValues("HOST", "");
  EXPECT_EQ(list.Values("host"), "two");

  int one = 1, two = 2;
  TStringList objects;
  objects.AddObject("a", &one);
  objects.InsertObject(0, "b", &two);
  objects.Add("c");
  EXPECT_EQ(objects.Objects(0), &two);
  EXPECT_EQ(objects.Objects(1), &one);
  EXPECT_EQ(objects.Objects(2), nullptr);
  objects.SetSorted(true);  // objects travel with their lines
  EXPECT_EQ(objects.Objects(0), &one);
  TStringList copy;
  copy.Assign(objects);
  EXPECT_EQ(copy.Objects(1), &two);
  EXPECT_EQ(copy.Text(), objects.Text());
}

TEST(StringListTest, ChangeEventsRunOncePerChangeOrUpdate) {
  TStringList list;
  std::string log;
  list.OnChanging = [&](TStringList& sender) { log += "<" + std::to_string(sender.Count()); };
  list.OnChange = [&](TStringList& sender) { log += ">" + std::to_string(sender.Count()); };
  list.Add("a");
  list.SetStrings(0, "b");
  list.Delete(0);
  list.Clear();  // nothing to clear: no events
  EXPECT_EQ(log, "<0>1<1>1<1>0");

  log.clear();
  list.BeginUpdate();
  list.BeginUpdate();
  list.SetText("x\ny\nz");
  list.EndUpdate();
  EXPECT_EQ(log, "<0");
  list.EndUpdate();
  EXPECT_EQ(log, "<0>3");

  list.SetSorted(true);
  list.SetDuplicates(dupError);
  log.clear();
  EXPECT_THROW(list.SetText("a\na"), EListError);  // the update still ends
  EXPECT_EQ(log, "<3>1");
}

TEST(StringListTest, FilesAndStreams) {
  TempFolder folder;
  std::string name = folder.File("list.txt");
  WriteFileAtomic(name, "one\ntwo\r\nthree");
  TStringList list;
  list.LoadFromFile(name);
  EXPECT_EQ(list.Count(), 3);
  list.SaveToFile(name);
  EXPECT_EQ(ReadFileBytes(name), "one\r\ntwo\r\nthree\r\n");

  EXPECT_THROW(list.LoadFromFile(folder.File("missing.txt")), EFOpenError);
  EXPECT_THROW(list.SaveToFile(folder.File("none/list.txt")), EFCreateError);
  EXPECT_EQ(list.Count(), 3);  // a failed load keeps the lines

  TStringStream stream("skip\r\nfrom\rhere");
  stream.SetPosition(6);  // loading reads from the position to the end
  list.LoadFromStream(stream);
  EXPECT_EQ(list.Text(), "from\r\nhere\r\n");
  list.SaveToStream(stream);
  EXPECT_EQ(stream.DataString(), "skip\r\nfrom\rherefrom\r\nhere\r\n");
}

}  // namespace
}  // namespace platform

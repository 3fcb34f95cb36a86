#include "mailer/net/MlExtstr.h"

#include "gtest/gtest.h"

namespace mailnet {
namespace {

TEST(ExStringList, NamesValuesAndSetValue) {
  TExStringList list;
  list.Add("From: Quillet<q@example.org>");
  list.Add("no colon here");
  list.Add("Subject:  two blanks");
  list.Add("X-Mailer:tight");
  EXPECT_EQ(list.IndexOfName("subject"), 2);
  EXPECT_EQ(list.IndexOfName("no colon here"), -1);
  EXPECT_EQ(list.IndexOfName("Fro"), -1);
  EXPECT_EQ(list.Values("SUBJECT"), " two blanks");  // one leading blank removed
  EXPECT_EQ(list.Values("X-Mailer"), "tight");
  EXPECT_EQ(list.Values("Date"), "");

  list.SetValues("subject", "neu");  // replaces the line and spells the name as passed
  EXPECT_EQ(list.Strings(2), "subject: neu");
  list.SetValues("Date", "Tue, 05 Mar 2024 14:03:07 +0000");
  EXPECT_EQ(list.Strings(4), "Date: Tue, 05 Mar 2024 14:03:07 +0000");
  list.SetValues("X-MAILER", "");
  EXPECT_EQ(list.IndexOfName("X-Mailer"), -1);
  EXPECT_EQ(list.Count(), 4);
}

TEST(ExStringList, SortedListIsSearchedByHalving) {
  TExStringList list;
  list.SetSorted(true);
  for (const char* line : {"To: b", "CC: c", "Mime-Version: 1.0", "From: a", "Subject: s", "Date: d"}) {
    list.Add(line);
  }
  for (int i = 0; i < list.Count(); ++i) {
    std::string line = list.Strings(i);
    EXPECT_EQ(list.IndexOfName(line.substr(0, line.find(':'))), i) << line;
  }
  EXPECT_EQ(list.IndexOfName("Reply-To"), -1);
  EXPECT_EQ(list.Values("mime-version"), "1.0");
}

}  // namespace
}  // namespace mailnet

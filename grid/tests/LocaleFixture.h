#pragma once

#include <gtest/gtest.h>

#include "platform/core/FormatSettings.h"

namespace velmora::testing {

// Tests of locale-dependent routines run with fixed separators (point decimal, comma thousands,
// day.month.year dates) and give the process's settings back afterwards.
class LocaleFixture : public ::testing::Test {
protected:
  void SetUp() override {
    saved_ = platform::FormatSettings();
    platform::TFormatSettings& s = platform::FormatSettings();
    s.DecimalSeparator = '.';
    s.ThousandSeparator = ',';
    s.DateSeparator = '.';
    s.ShortDateFormat = "dd.mm.yyyy";
  }
  void TearDown() override { platform::FormatSettings() = saved_; }

private:
  platform::TFormatSettings saved_;
};

}  // namespace velmora::testing

#pragma once

#include <gtest/gtest.h>

#include "platform/core/FormatSettings.h"

namespace velmora::testing {

// The fixed separators that locale-dependent tests run with: point decimal, comma thousands,
// day.month.year dates.
inline void UseFixedSeparators() {
  platform::TFormatSettings& s = platform::FormatSettings();
  s.DecimalSeparator = '.';
  s.ThousandSeparator = ',';
  s.DateSeparator = '.';
  s.ShortDateFormat = "dd.mm.yyyy";
}

// Tests of locale-dependent routines run with the fixed separators and give the process's settings
// back afterwards.
class LocaleFixture : public ::testing::Test {
protected:
  void SetUp() override {
    saved_ = platform::FormatSettings();
    UseFixedSeparators();
  }
  void TearDown() override { platform::FormatSettings() = saved_; }

private:
  platform::TFormatSettings saved_;
};

}  // namespace velmora::testing

// The configurator keeps its own copy of what it shares with the service (it does not link it): the copy
// must say what the service says.
#include <gtest/gtest.h>

#include <string_view>

#include "configurator/ServiceLink.h"
#include "service/EventLog.h"
#include "service/ServiceFiles.h"
#include "service/Unit1.h"

namespace configurator::testing {
namespace {

TEST(ServiceLinkTest, TheNamesAreTheServicesOwn) {
  EXPECT_EQ(std::string_view(kStatusNotifyMessageName), velmora::TTarvonex::StatusNotifyMessage);
  EXPECT_EQ(std::string_view(kResetRequestMessageName), velmora::TTarvonex::ResetRequestMessage);
  EXPECT_EQ(std::string_view(kStatusFileName), velmora::kStatusFile);
  EXPECT_EQ(std::string_view(kEventLogFileName), velmora::kLogFileName);
}

}  // namespace
}  // namespace configurator::testing

#include "service/icmp/NxStack.h"

#include <gtest/gtest.h>

#include "service/icmp/NxComponent.h"
#include "service/icmp/NxException.h"
#include "service/icmp/NxGlobal.h"
#include "platform/app/Component.h"

namespace velmora {
namespace {

TEST(NxStackTest, ExistsWhileAComponentDoes) {
  ASSERT_EQ(GStack(), nullptr);
  {
    TNxComponent first;
    TNxStack* stack = GStack();
    ASSERT_NE(stack, nullptr);
    {
      TNxComponent second;
      EXPECT_EQ(GStack(), stack);
    }
    EXPECT_EQ(GStack(), stack);
  }
  EXPECT_EQ(GStack(), nullptr);
}

TEST(NxStackTest, AnOwnedComponentGoesWithItsOwnerAndTakesTheStackWithIt) {
  {
    platform::TComponent owner(nullptr);
    auto* component = new TNxComponent(&owner);
    EXPECT_EQ(component->Owner(), &owner);
    EXPECT_NE(GStack(), nullptr);
  }
  EXPECT_EQ(GStack(), nullptr);
}

TEST(NxStackTest, LocalhostAndDottedAddressesResolveWithoutALookup) {
  TNxStack stack;
  for (const char* name : {"LOCALHOST", "localhost", "LocalHost"}) EXPECT_EQ(stack.ResolveHost(name), "127.0.0.1");
  EXPECT_EQ(stack.ResolveHost("192.168.1.20"), "192.168.1.20");
  EXPECT_EQ(stack.ResolveHost("010.0.0.1"), "010.0.0.1");
  EXPECT_EQ(TNxStack::TInAddrToString(TNxStack::StringToTInAddr("010.0.0.1")), "10.0.0.1");
}

TEST(NxStackTest, OnlyFourDecimalPartsUpTo255AreAnAddress) {
  for (const char* text : {"0.0.0.0", "255.255.255.255", "1.2.3.4"}) EXPECT_TRUE(TNxStack::IsIP(text)) << text;
  for (const char* text : {"10.0.0.256", "1.2.3", "1.2.3.4.5", "1..3.4", "1.2.3.", ".1.2.3", "a.b.c.d", "1.2.3.-4",
                           " 1.2.3.4", "1.2.3.4 ", "", "99999999999.1.1.1"}) {
    EXPECT_FALSE(TNxStack::IsIP(text)) << text;
  }
}

TEST(NxStackTest, SocketErrorsRaiseWithTheirTextUnlessIgnored) {
  TNxStack stack;
  EXPECT_FALSE(stack.CheckForSocketError(0));
  EXPECT_TRUE(stack.CheckForSocketError(10035, {10035}));
  EXPECT_EQ(stack.LastError(), 10035);
  try {
    stack.CheckForSocketError(11001);
    ADD_FAILURE() << "no exception";
  } catch (const ENxSocketError& e) {
    EXPECT_EQ(e.LastError(), 11001);
    EXPECT_EQ(e.Message(), "Socket Error # 11001\r\nHost not found.");
  }
  EXPECT_EQ(stack.LastError(), 11001);
  EXPECT_EQ(ENxSocketError(10093).Message(), "Socket Error # 10093\r\n");
  EXPECT_EQ(ENxSocketError(10035).Message(), "Socket Error # 10035\r\nOperation would block. ");
  EXPECT_EQ(ENxSocketError(10066).Message(), "Socket Error # 10066\r\nDirectory not empty");
}

TEST(NxGlobalTest, TickDifferenceAllowsForTheWrap) {
  EXPECT_EQ(GetTickDiff(1000, 1500), 500u);
  EXPECT_EQ(GetTickDiff(7, 7), 0u);
  EXPECT_EQ(GetTickDiff(0xFFFFFFF0u, 0x10u), 0x1Fu);  // one less than the modular difference
}

}  // namespace
}  // namespace velmora

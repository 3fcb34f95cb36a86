#include <X11/keysym.h>

#include "platform/backends/X11Keyboard.h"
#include "platform/ui/VirtualKeys.h"
#include "X11Fixture.h"

namespace platform::test {
namespace {

using ::testing::ElementsAre;

TEST(X11KeySymTest, KeysGetTheirVirtualKeyCodes) {
  const struct {
    unsigned long keySym;
    int virtualKey;
  } cases[] = {
      {XK_a, 'A'}, {XK_Z, 'Z'}, {XK_0, '0'}, {XK_9, '9'}, {XK_F1, VK_F1}, {XK_F12, VK_F12},
      {XK_KP_0, VK_NUMPAD0}, {XK_KP_9, VK_NUMPAD9}, {XK_KP_Home, VK_HOME}, {XK_KP_Enter, VK_RETURN},
      {XK_Return, VK_RETURN}, {XK_ISO_Left_Tab, VK_TAB}, {XK_Shift_R, VK_SHIFT}, {XK_ISO_Level3_Shift, 0},
      {XK_Delete, VK_DELETE}, {XK_Menu, VK_APPS}, {XK_comma, VK_OEM_COMMA},
      // A German keyboard's own keys, with the codes that a German keyboard gives them.
      {XK_adiaeresis, VK_OEM_7}, {XK_odiaeresis, VK_OEM_3}, {XK_udiaeresis, VK_OEM_1}, {XK_ssharp, VK_OEM_4},
      {XK_dead_acute, VK_OEM_6}, {XK_dead_circumflex, VK_OEM_5}, {XK_plus, VK_OEM_PLUS}, {XK_less, VK_OEM_102},
      {XK_EuroSign, 0}, {XK_VoidSymbol, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(VirtualKeyFromKeySym(c.keySym), c.virtualKey) << std::hex << c.keySym;
}

// xdotool types through the server's test extension, so the keys travel the way a keyboard's do.
TEST_F(X11Test, GermanTypingReachesTheWindowAsKeysAndCharacters) {
  RunPeer({"setxkbmap", "-display", Display(), "de"}, Display());
  ShowForm("Tastatur");
  RunPeer({"xdotool", "type", "--delay", "10", "aZ1äß€"}, Display());
  RunPeer({"xdotool", "key", "--delay", "10", "dead_acute", "e", "dead_circumflex", "o"}, Display());
  ASSERT_TRUE(PumpUntil([&] { return sink_.Starting("char").size() >= 8; }));
  EXPECT_THAT(sink_.Starting("char"),
              ElementsAre("char a 0", "char Z 1", "char 1 0", "char ä 0", "char ß 0", "char € 0", "char é 0",
                          "char ô 0"));
  const auto downs = sink_.Starting("down");
  for (const char* key : {"down 65 0", "down 16 1", "down 90 1", "down 49 0", "down 222 0", "down 219 0",
                          "down 221 0", "down 69 0"})
    EXPECT_NE(std::find(downs.begin(), downs.end(), key), downs.end()) << key;
  EXPECT_TRUE(sink_.Has("up 16 0")) << "releasing Shift reports the state after it";
}

TEST_F(X11Test, HeldKeyRepeatsWithoutReleases) {
  ShowForm("Wiederholung");
  RunPeer({"xdotool", "keydown", "Right"}, Display());
  PumpUntil([&] { return sink_.Starting("down 39 0 repeat").size() >= 2; }, 3000);
  RunPeer({"xdotool", "keyup", "Right"}, Display());
  ASSERT_TRUE(PumpUntil([&] { return sink_.Has("up 39 0"); }));
  EXPECT_EQ(sink_.Starting("down 39 0").front(), "down 39 0");
  EXPECT_GE(sink_.Starting("down 39 0 repeat").size(), 2u);
  EXPECT_EQ(sink_.Starting("up 39").size(), 1u);
}

TEST_F(X11Test, LockKeysAreReadFromTheServer) {
  ShowForm("Feststell");
  EXPECT_FALSE(backend_->KeyToggled(VK_CAPITAL));
  RunPeer({"xdotool", "key", "Caps_Lock"}, Display());
  EXPECT_TRUE(backend_->KeyToggled(VK_CAPITAL));
  RunPeer({"xdotool", "key", "Num_Lock"}, Display());
  EXPECT_TRUE(backend_->KeyToggled(VK_NUMLOCK));
  RunPeer({"xdotool", "key", "Caps_Lock"}, Display());
  EXPECT_FALSE(backend_->KeyToggled(VK_CAPITAL));
  EXPECT_FALSE(backend_->KeyToggled('A'));
}

}  // namespace
}  // namespace platform::test

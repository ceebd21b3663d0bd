#include <gtest/gtest.h>

#include <linux/input-event-codes.h>
#include <set>
#include <xkbcommon/xkbcommon-keysyms.h>

#include "platform/linux/tastencodes.h"

namespace klebwerk::linuxdesk {
namespace {

TEST(Tastencodes, BekannteTasten) {
    struct Fall {
        std::uint16_t code;
        std::uint32_t keysym;
        std::uint16_t evdev;
    };
    const Fall faelle[] = {
        {0x00, XKB_KEY_a, KEY_A},         {0x09, XKB_KEY_v, KEY_V},         {0x01, XKB_KEY_s, KEY_S},
        {0x24, XKB_KEY_Return, KEY_ENTER}, {0x35, XKB_KEY_Escape, KEY_ESC}, {0x31, XKB_KEY_space, KEY_SPACE},
        {0x16, XKB_KEY_6, KEY_6},         {0x17, XKB_KEY_5, KEY_5},         {0x7E, XKB_KEY_Up, KEY_UP},
        {0x4C, XKB_KEY_KP_Enter, KEY_KPENTER}, {0x33, XKB_KEY_BackSpace, KEY_BACKSPACE},
        {0x75, XKB_KEY_Delete, KEY_DELETE},
    };
    for (const auto& f : faelle) {
        auto t = tastenCode(f.code);
        ASSERT_TRUE(t) << f.code;
        EXPECT_EQ(t->keysym, f.keysym) << f.code;
        EXPECT_EQ(t->evdev, f.evdev) << f.code;
    }
    EXPECT_FALSE(tastenCode(0xFFFF));
    EXPECT_FALSE(tastenCode(0x3F));  // fn has no key event of its own
}

TEST(Tastencodes, HinUndZurueck) {
    std::set<std::uint16_t> positionen;
    for (std::uint32_t code = 0; code < 0x80; ++code) {
        auto t = tastenCode(static_cast<std::uint16_t>(code));
        if (!t) continue;
        EXPECT_EQ(codeFuerKeysym(t->keysym), t->code) << code;
        EXPECT_EQ(codeFuerPosition(t->evdev + 8u), t->code) << code;
        EXPECT_TRUE(positionen.insert(t->evdev).second) << "two codes at one position: " << code;
    }
    EXPECT_EQ(codeFuerKeysym(XKB_KEY_V), 0x09);  // case folded
    EXPECT_FALSE(codeFuerPosition(3));
}

}  // namespace
}  // namespace klebwerk::linuxdesk

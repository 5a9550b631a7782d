// Key codes and the translation of key messages into key events.
#include "frame/KSData.h"
#include "mfc/CWnd.h"
#include "tests/support/WindowFixture.h"
#include "window/KeyCode.h"
#include "window/KeyEvent.h"
#include "window/WorkWindow.h"

#include <gtest/gtest.h>
#include <vector>

TEST(KeyCode, ModifiersFunctionsAndNames)
{
    KeyCode ctrlS(0x0212, 0, 1, 0);
    EXPECT_TRUE(ctrlS.IsCtrl());
    EXPECT_FALSE(ctrlS.IsCtrlShift());
    EXPECT_FALSE(KeyCode(KEYFUNC_SAVE) == KeyCode(0x0212, 0x2000)) << "functions are compared: 3 against 0";
    EXPECT_TRUE(KeyCode(0x0212, 0x2000) == ctrlS);
    EXPECT_EQ(0x0212, KeyCode(KEYFUNC_SAVE).GetCode());
    EXPECT_TRUE(KeyCode(KEYFUNC_FINDBACKWARD).IsCtrlShift());
    EXPECT_EQ(0, KeyCode(static_cast<KeyFuncType>(99)).GetCode()) << "unknown functions have no key";
    std::string const name(KeyCode(0x0304, 1, 1, 0).GetName().GetStr());
    ASSERT_GT(name.size(), 3u);
    EXPECT_EQ("+F5", name.substr(name.size() - 3));
    EXPECT_STREQ("A", KeyCode(0x0200, 0).GetName().GetStr());
}

namespace {
class KeyWindow : public WorkWindow
{
public:
    KeyWindow() : WorkWindow(static_cast<CWnd *>(nullptr), 0) {}
    std::vector<KeyEvent> events;
    bool KeyInput(KeyEvent const &e) override { return events.push_back(e), true; }
};

class KeyTranslation : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        top = win = new KeyWindow;
    }
    void Key(unsigned msg, WPARAM vk, LPARAM lp = 1) { SendMessageA(win->GetHWND(), msg, vk, lp); }
    int Code(std::size_t i) { return win->events[i].GetKeyCode().GetCode(); }
    KeyWindow *win = nullptr;
};
} // namespace

TEST_F(KeyTranslation, KeyDownWithItsCharacterIsDeliveredOnce)
{
    PostMessageA(win->GetHWND(), WM_CHAR, 'a', 1);
    Key(WM_KEYDOWN, 'A');
    kstest::Pump();
    ASSERT_EQ(1u, win->events.size());
    EXPECT_EQ(0x0200, Code(0));
    EXPECT_EQ('a', win->events[0].GetCharCode());
    EXPECT_FALSE(GetPKSData()->m_bInKeyInput);
}

TEST_F(KeyTranslation, VirtualKeysAndCharacters)
{
    Key(WM_KEYDOWN, VK_NUMPAD5, 3);
    Key(WM_KEYDOWN, '5');
    Key(WM_KEYDOWN, VK_F24);
    Key(WM_KEYDOWN, VK_PRIOR);
    Key(WM_KEYDOWN, VK_MULTIPLY);
    Key(WM_KEYDOWN, VK_SHIFT); // modifiers alone: nothing
    Key(WM_KEYDOWN, VK_F4, 1 | (1 << 29)); // context code: Alt
    Key(WM_CHAR, 'z');
    Key(WM_CHAR, 13);
    Key(WM_CHAR, '#');
    ASSERT_EQ(9u, win->events.size());
    EXPECT_EQ(2, win->events[0].GetRepeat());
    int const codes[] = {0x0105, 0x0105, 0x0317, 0x0406, 0x0509, 0x0303, 0x0219, 0x0500, 0};
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_EQ(codes[i], Code(i)) << "event " << i;
    EXPECT_TRUE(win->events[5].GetKeyCode().IsAlt());
    EXPECT_EQ('#', win->events[8].GetCharCode()) << "characters without a key still arrive";
}

TEST_F(KeyTranslation, LayoutKeysComeFromTheStartUpTable)
{
    unsigned const plusKey = GetPKSData()->m_aKeyCharCodes[0] & 0xFF;
    if (plusKey < 0x92)
        GTEST_SKIP() << "this layout types '+' with a key of the fixed table";
    Key(WM_KEYDOWN, plusKey);
    Key(WM_KEYDOWN, 0xB2);
    ASSERT_EQ(2u, win->events.size());
    EXPECT_EQ(0x0507, Code(0));
    EXPECT_EQ(0x051B, Code(1));
}

// Key codes and the translation of key messages into key events.
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "mfc/CWnd.h"
#include "window/KeyCode.h"
#include "window/KeyEvent.h"
#include "window/Window.h"

#include <gtest/gtest.h>
#include <vector>

TEST(KeyCode, ModifiersGroupsAndFunctions)
{
    KeyCode ctrlS(0x0212, 0, 1, 0);
    EXPECT_EQ(0x2212, ctrlS.GetCode() | ctrlS.GetModifier());
    EXPECT_TRUE(ctrlS.IsCtrl());
    EXPECT_TRUE(ctrlS.IsMod1());
    EXPECT_FALSE(ctrlS.IsPure());
    EXPECT_TRUE(ctrlS.IsAlphaGroup());
    EXPECT_FALSE(ctrlS.IsCtrlShift());

    EXPECT_FALSE(KeyCode(KEYFUNC_SAVE) == KeyCode(0x0212, 0x2000)) << "functions are compared: 3 against 0";
    EXPECT_FALSE(KeyCode(0x0212, 0x2000) == KeyCode(0x0212, 1, 0, 0));
    EXPECT_TRUE(KeyCode(0x0212, 0x2000) == ctrlS);
    EXPECT_TRUE(KeyCode(KEYFUNC_COPY) == KeyCode(KEYFUNC_COPY));
    KeyCode save(KEYFUNC_SAVE);
    EXPECT_EQ(0x0212, save.GetCode());
    EXPECT_TRUE(save.IsCtrl());
    EXPECT_EQ(0x0303, KeyCode(KEYFUNC_QUIT).GetCode());
    EXPECT_TRUE(KeyCode(KEYFUNC_QUIT).IsAlt());
    EXPECT_TRUE(KeyCode(KEYFUNC_FINDBACKWARD).IsCtrlShift());
    EXPECT_EQ(0, KeyCode(static_cast<KeyFuncType>(99)).GetCode()) << "unknown functions have no key";
    EXPECT_TRUE(KeyCode(0x0400, 0x7000).IsCtrlShiftAlt());
    EXPECT_TRUE(KeyCode(0x0400, 0).IsCursorGroup());
}

TEST(KeyCode, NamesStartWithTheModifiers)
{
    SString name = KeyCode(0x0304, 1, 1, 0).GetName();
    EXPECT_TRUE(name.Len() > 3);
    // Modifier names come from the layout; the key follows the last "+".
    SString expectedTail("+F5");
    std::string n(name.GetStr());
    EXPECT_EQ("+F5", n.substr(n.size() - 3));
    EXPECT_STREQ("A", KeyCode(0x0200, 0).GetName().GetStr());
}

namespace {
class KeyWindow : public Window
{
public:
    KeyWindow() : Window(static_cast<CWnd *>(nullptr), 0, 2) {}
    std::vector<KeyEvent> events;
    bool consume = true;
    bool KeyInput(KeyEvent const &e) override
    {
        events.push_back(e);
        return consume;
    }
};

class KeyTranslation : public testing::Test
{
protected:
    void SetUp() override
    {
        KSInit();
        win = new KeyWindow;
        ASSERT_NE(nullptr, win->GetHWND());
    }
    void TearDown() override
    {
        delete win;
        KSExit();
    }
    void Pump()
    {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
    KeyWindow *win = nullptr;
};
} // namespace

TEST_F(KeyTranslation, KeyDownWithItsCharacterIsDeliveredOnce)
{
    // The key-down is routed while its WM_CHAR waits in the queue.
    PostMessageA(win->GetHWND(), WM_CHAR, 'a', 1);
    SendMessageA(win->GetHWND(), WM_KEYDOWN, 'A', 1);
    Pump();
    ASSERT_EQ(1u, win->events.size()) << "the character came with its key-down";
    EXPECT_EQ(0x0200, win->events[0].GetKeyCode().GetCode());
    EXPECT_EQ('a', win->events[0].GetCharCode());
    EXPECT_EQ(0, win->events[0].GetRepeat());
    EXPECT_FALSE(GetPKSData()->m_bInKeyInput);
}

TEST_F(KeyTranslation, VirtualKeysAndCharacters)
{
    SendMessageA(win->GetHWND(), WM_KEYDOWN, VK_NUMPAD5, 3);
    SendMessageA(win->GetHWND(), WM_KEYDOWN, '5', 1);
    SendMessageA(win->GetHWND(), WM_KEYDOWN, VK_F24, 1);
    SendMessageA(win->GetHWND(), WM_KEYDOWN, VK_PRIOR, 1);
    SendMessageA(win->GetHWND(), WM_KEYDOWN, VK_MULTIPLY, 1);
    SendMessageA(win->GetHWND(), WM_KEYDOWN, VK_SHIFT, 1); // modifiers alone: nothing
    SendMessageA(win->GetHWND(), WM_KEYDOWN, VK_F4, 1 | (1 << 29)); // context code: Alt
    SendMessageA(win->GetHWND(), WM_CHAR, 'z', 1);
    SendMessageA(win->GetHWND(), WM_CHAR, 13, 1);
    SendMessageA(win->GetHWND(), WM_CHAR, '#', 1);
    ASSERT_EQ(9u, win->events.size());
    EXPECT_EQ(0x0105, win->events[0].GetKeyCode().GetCode());
    EXPECT_EQ(2, win->events[0].GetRepeat());
    EXPECT_EQ(0x0105, win->events[1].GetKeyCode().GetCode()) << "numeric pad and main keyboard alike";
    EXPECT_EQ(0x0317, win->events[2].GetKeyCode().GetCode());
    EXPECT_EQ(0x0406, win->events[3].GetKeyCode().GetCode());
    EXPECT_EQ(0x0509, win->events[4].GetKeyCode().GetCode());
    EXPECT_TRUE(win->events[5].GetKeyCode().IsAlt());
    EXPECT_EQ(0x0303, win->events[5].GetKeyCode().GetCode());
    EXPECT_EQ(0x0219, win->events[6].GetKeyCode().GetCode());
    EXPECT_EQ(0x0500, win->events[7].GetKeyCode().GetCode());
    EXPECT_EQ(0, win->events[8].GetKeyCode().GetCode()) << "characters without a key still arrive";
    EXPECT_EQ('#', win->events[8].GetCharCode());
}

TEST_F(KeyTranslation, LayoutKeysComeFromTheStartUpTable)
{
    KSData *d = GetPKSData();
    unsigned const plusKey = d->m_aKeyCharCodes[0] & 0xFF;
    if (plusKey < 0x92)
        GTEST_SKIP() << "this layout types '+' with a key of the fixed table";
    SendMessageA(win->GetHWND(), WM_KEYDOWN, plusKey, 1);
    SendMessageA(win->GetHWND(), WM_KEYDOWN, 0xB2, 1);
    ASSERT_EQ(2u, win->events.size());
    EXPECT_EQ(0x0507, win->events[0].GetKeyCode().GetCode());
    EXPECT_EQ(0x051B, win->events[1].GetKeyCode().GetCode());
}

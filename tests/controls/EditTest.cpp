// ks-test: serial
// Text fields through real typing: the links each key and focus change
// calls, the platform styles of every style and kind, correction of words
// against a model of phrase replacement, the red words against a tokenizer
// of the test's own; buttons pressed from the keyboard; leaks.
#include "controls/CheckBox.h"
#include "controls/EditEx.h"
#include "controls/MultiLineEdit.h"
#include "controls/PushButton.h"
#include "controls/SingleLineEdit.h"
#include "controls/ZnEditEx.h"
#include "graphics/Texture.h"
#include "tests/support/LinkCounter.h"
#include "tests/support/WindowFixture.h"

#include <cctype>
#include <map>
#include <random>
#include <richedit.h>
#include <string>

namespace {

using kstest::Key;
using kstest::LinkCounter;
using kstest::LinkRecorder;
using kstest::Pump;
using kstest::Send;
using kstest::Type;

class EditTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop();
        ShowTop(Point(20, 20), Size(420, 300));
    }
    static long Style(Window const &w) { return GetWindowLongA(w.GetHWND(), GWL_STYLE); }
    static void Focus(Window const &w)
    {
        SetFocus(w.GetHWND());
        Pump();
    }
};

TEST_F(EditTest, StylesOfEveryStyleBitAndKind)
{
    struct Bit
    {
        int style;
        long platform;
    };
    Bit const bits[] = {{EDIT_READONLY, ES_READONLY},
                        {EDIT_RIGHT, ES_RIGHT},
                        {EDIT_AUTOHSCROLL, ES_AUTOHSCROLL},
                        {EDIT_VSCROLL, WS_VSCROLL | ES_AUTOVSCROLL}};
    for (int mask = 0; mask < 16; ++mask)
        for (int kind : {0, EDIT_KIND_NUMBER, EDIT_KIND_SINGLELINE, EDIT_KIND_MULTILINE}) {
            int style = 0;
            long expect = WS_CHILD | WS_VISIBLE;
            for (int b = 0; b < 4; ++b)
                if (mask & (1 << b)) {
                    style |= bits[b].style;
                    expect |= bits[b].platform;
                }
            if (kind == EDIT_KIND_NUMBER)
                expect |= ES_NUMBER;
            if (kind == EDIT_KIND_MULTILINE)
                expect |= ES_MULTILINE | ES_WANTRETURN;
            Edit e(top, style, kind);
            long const all = ES_READONLY | ES_RIGHT | ES_AUTOHSCROLL | WS_VSCROLL | ES_AUTOVSCROLL | ES_NUMBER |
                             ES_MULTILINE | ES_WANTRETURN | WS_CHILD | WS_VISIBLE;
            ASSERT_EQ(expect, Style(e) & all) << "style " << style << " kind " << kind;
        }
    SingleLineEdit one(top, 0);
    MultiLineEdit many(top, 0);
    EXPECT_EQ(EDIT_KIND_SINGLELINE, one.GetKind());
    EXPECT_EQ(0, Style(one) & ES_MULTILINE);
    EXPECT_NE(0, Style(many) & ES_MULTILINE);
    RECT r;
    GetWindowRect(one.GetHWND(), &r);
    EXPECT_EQ(180, r.right - r.left);
    EXPECT_EQ(20, r.bottom - r.top);
}

TEST_F(EditTest, TypingReturnTabAndFocusCallTheirLinksOnce)
{
    SingleLineEdit one(top, 0);
    MultiLineEdit many(top, 0);
    one.SetPosSizePixel(Point(10, 10), Size(200, 24));
    many.SetPosSizePixel(Point(10, 50), Size(200, 80));
    LinkRecorder modify, enter, tab, setFocus, killFocus, manyModify, manyEnter;
    one.SetModifyHdl(modify.GetLink());
    one.SetEnterHdl(enter.GetLink());
    one.SetTabHdl(tab.GetLink());
    one.SetSetFocusHdl(setFocus.GetLink());
    one.SetKillFocusHdl(killFocus.GetLink());
    many.SetModifyHdl(manyModify.GetLink());
    many.SetEnterHdl(manyEnter.GetLink());

    Focus(one);
    EXPECT_EQ(1, setFocus.calls);
    EXPECT_EQ(&one, setFocus.last);
    Type("abc");
    EXPECT_EQ("abc", std::string(one.GetText().GetStr()));
    EXPECT_EQ(3, modify.calls);
    EXPECT_EQ(&one, modify.last);
    Send({Key(VK_RETURN), Key(VK_RETURN, true)});
    Send({Key(VK_SHIFT), Key(VK_RETURN), Key(VK_RETURN, true), Key(VK_SHIFT, true)});
    Send({Key(VK_TAB), Key(VK_TAB, true)});
    EXPECT_EQ(2, enter.calls);
    EXPECT_EQ(1, tab.calls);
    EXPECT_EQ("abc", std::string(one.GetText().GetStr())) << "Return and Tab never reach the control";
    EXPECT_EQ(3, modify.calls);
    EXPECT_EQ(GetFocus(), one.GetHWND());

    Focus(many);
    EXPECT_EQ(1, killFocus.calls);
    EXPECT_EQ(1, setFocus.calls);
    Type("x");
    Send({Key(VK_RETURN), Key(VK_RETURN, true)});
    Type("y");
    EXPECT_EQ("x\r\ny", std::string(many.GetText().GetStr()));
    EXPECT_EQ(0, manyEnter.calls);
    EXPECT_EQ(3, manyModify.calls);

    // Programmatic changes: the limit cuts typing, the selection and caret
    // land where asked.
    Focus(one);
    one.ChangeMaxTextLen(5);
    Type("defg");
    EXPECT_EQ("abcde", std::string(one.GetText().GetStr()));
    EXPECT_EQ(5, SendMessageA(one.GetHWND(), EM_GETLIMITTEXT, 0, 0));
    one.SetSelection(1, 3);
    DWORD from = 0, to = 0;
    SendMessageA(one.GetHWND(), EM_GETSEL, WPARAM(&from), LPARAM(&to));
    EXPECT_EQ(1u, from);
    EXPECT_EQ(3u, to);
    one.SetCaretToPos(5);
    SendMessageA(one.GetHWND(), EM_GETSEL, WPARAM(&from), LPARAM(&to));
    EXPECT_EQ(5u, from);
    EXPECT_EQ(5u, to);
    one.SetText(SString("new"));
    EXPECT_EQ("new", std::string(one.GetText().GetStr()));
}

TEST_F(EditTest, FontBackgroundAndCueBanner)
{
    SingleLineEdit one(top, 0);
    one.SetPosSizePixel(Point(10, 10), Size(200, 24));
    Font f(SString("Tahoma"), 18);
    one.ChangeFont(f);
    EXPECT_EQ(reinterpret_cast<LRESULT>(const_cast<Font &>(one.GetFieldFont()).GethFont()),
              SendMessageA(one.GetHWND(), WM_GETFONT, 0, 0));
    EXPECT_NE(nullptr, reinterpret_cast<HFONT>(SendMessageA(one.GetHWND(), WM_GETFONT, 0, 0)));

    COLORREF const tint = RGB(200, 230, 190);
    one.ChangeBackgroundTexture(Texture(Color(static_cast<unsigned long>(tint))));
    RedrawWindow(one.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT r;
    GetClientRect(one.GetHWND(), &r);
    EXPECT_EQ(tint, kstest::PixelOf(one.GetHWND(), r.right - 3, r.bottom / 2));

    // What the control is sent (the edit class of Wine's user32 keeps no
    // banner to ask back for).
    static std::wstring cue;
    static WNDPROC next;
    next = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        one.GetHWND(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            if (m == 0x1501) // EM_SETCUEBANNER
                cue = reinterpret_cast<wchar_t const *>(l);
            return CallWindowProcW(next, h, m, w, l);
        })));
    one.SetCueBanner(SString("Search \xe4")); // the text's own character set, as UTF-16
    SetWindowLongPtrW(one.GetHWND(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next));
    EXPECT_EQ(std::wstring(L"Search \u00e4"), cue);

    MultiLineEdit many(top, 0);
    many.SetTabStops(64);
    many.SetText(SString("a\tb"));
    EXPECT_EQ("a\tb", std::string(many.GetText().GetStr()));
}

// The words of text as the test sees them: ASCII letters, digits, '_' and
// '\'', with their positions.
std::vector<std::pair<size_t, std::string>> Words(std::string const &text)
{
    std::vector<std::pair<size_t, std::string>> out;
    std::string cur;
    for (size_t i = 0; i <= text.size(); ++i) {
        char const c = i < text.size() ? text[i] : ' ';
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '\'') {
            cur += c;
        } else if (!cur.empty()) {
            out.emplace_back(i - cur.size(), cur);
            cur.clear();
        }
    }
    return out;
}

TEST_F(EditTest, EditExColoursAndCorrectsTheWordsOfItsMap)
{
    EditEx ex(top, 0);
    ex.SetPosSizePixel(Point(10, 10), Size(380, 200));
    std::mt19937 rng(11);
    char const *const vocabulary[] = {"teh", "the", "recieve", "receive", "adn", "and", "x", "tehx", "a'b", "_u"};
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    for (int round = 0; round < 25; ++round) {
        std::string text;
        for (int w = pick(12); w >= 0; --w)
            text += std::string(vocabulary[pick(10)]) + " ,.;-"[pick(5)];
        std::map<SString, SString> words;
        for (int k = pick(4); k >= 0; --k)
            words[SString(vocabulary[pick(10)])] = SString(vocabulary[pick(10)]);
        ex.SetText(SString(text.c_str()));
        ex.SetWords(words);
        // Every character red exactly when it lies in a word of the map.
        std::vector<bool> red(text.size(), false);
        for (auto const &[at, word] : Words(text))
            if (words.count(SString(word.c_str())))
                for (size_t i = 0; i < word.size(); ++i)
                    red[at + i] = true;
        HWND h = ex.GetHWND();
        for (size_t i = 0; i < text.size(); ++i) {
            CHARRANGE cr{long(i), long(i + 1)};
            SendMessageA(h, EM_EXSETSEL, 0, LPARAM(&cr));
            CHARFORMAT2A cf{};
            cf.cbSize = sizeof cf;
            SendMessageA(h, EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
            bool const isRed = !(cf.dwEffects & CFE_AUTOCOLOR) && cf.crTextColor == 255;
            ASSERT_EQ(red[i], isRed) << "round " << round << ", '" << text << "' at " << i;
        }
        // Correction: each phrase of the map, in the map's order, replaced
        // everywhere in the text.
        std::string expect = text;
        for (auto const &[sfrom, sto] : words)
            for (std::string const from = sfrom.GetStr(), to = sto.GetStr();;) {
                for (size_t at = expect.find(from); at != std::string::npos; at = expect.find(from, at + to.size()))
                    expect.replace(at, from.size(), to);
                break;
            }
        ex.Correct();
        ASSERT_EQ(expect, std::string(ex.GetText().GetStr())) << "round " << round << ", '" << text << "'";
        EXPECT_TRUE(ex.GetPEditCtrl()->GetWords().empty());
        ex.Correct();
        ASSERT_EQ(expect, std::string(ex.GetText().GetStr()));
    }
}

TEST_F(EditTest, EditExKeysAndNotices)
{
    EditEx ex(top, 0);
    ex.SetPosSizePixel(Point(10, 10), Size(300, 100));
    LinkRecorder modify, enter, tab;
    struct MenuSpy : LinkHdl
    {
        int calls = 0;
        unsigned long value = 0;
        __int64 On(void *p) { return value = *static_cast<unsigned long *>(p), ++calls, 0; }
    } menu;
    ex.SetModifyHdl(modify.GetLink());
    ex.SetEnterHdl(enter.GetLink());
    ex.SetTabHdl(tab.GetLink());
    ex.SetMenuHdl(Link(&menu, &MenuSpy::On));
    Focus(ex);
    Type("hello");
    EXPECT_EQ("hello", std::string(ex.GetText().GetStr()));
    EXPECT_EQ(5, modify.calls);
    EXPECT_EQ(&ex, modify.last);
    auto ctrl = [](WORD vk) { Send({Key(VK_CONTROL), Key(vk), Key(vk, true), Key(VK_CONTROL, true)}); };
    ctrl('Z'); // swallowed: no undo
    EXPECT_EQ("hello", std::string(ex.GetText().GetStr()));
    ctrl('A'); // swallowed too: nothing selected
    ex.SetSelection(0, 2);
    ctrl('C');
    ex.SetCaretToPos(5);
    ctrl('V');
    EXPECT_EQ("hellohe", std::string(ex.GetText().GetStr()));
    ex.SetSelection(0, 1);
    ctrl('X');
    EXPECT_EQ("ellohe", std::string(ex.GetText().GetStr()));
    Send({Key(VK_RETURN), Key(VK_RETURN, true), Key(VK_TAB), Key(VK_TAB, true)});
    EXPECT_EQ(1, enter.calls);
    EXPECT_EQ(1, tab.calls);
    EXPECT_EQ("ellohe", std::string(ex.GetText().GetStr()));
    // A notice the field does not handle goes to the menu link and on.
    int const before = menu.calls;
    unsigned long const value = MAKELONG(GetDlgCtrlID(ex.GetHWND()), 0x0777);
    SendMessageA(top->GetHWND(), WM_COMMAND, WPARAM(value), LPARAM(ex.GetHWND()));
    EXPECT_EQ(before + 1, menu.calls);
    EXPECT_EQ(value, menu.value);
}

TEST_F(EditTest, ButtonsArePressedFromTheKeyboard)
{
    PushButton push(top, 0);
    CheckBox check(top, 0);
    push.SetPosSizePixel(Point(10, 150), Size(80, 24));
    check.SetPosSizePixel(Point(100, 150), Size(80, 24));
    push.Show();
    check.Show();
    LinkCounter pushed, checked;
    push.ChangeClickHdl(pushed.GetLink());
    check.ChangeClickHdl(checked.GetLink());
    auto key = [](WORD vk) { Send({Key(vk), Key(vk, true)}); };
    Focus(push);
    key(VK_SPACE);
    key(VK_RETURN);
    EXPECT_EQ(2, pushed.calls);
    EXPECT_EQ(0, SendMessageA(push.GetHWND(), BM_GETSTATE, 0, 0) & BST_PUSHED) << "not left pressed in";
    Focus(check);
    key(VK_SPACE);
    EXPECT_EQ(1, checked.calls);
    EXPECT_TRUE(check.IsChecked());
    key(VK_RETURN); // Return is for push buttons
    key(VK_SPACE);
    EXPECT_EQ(2, checked.calls);
    EXPECT_FALSE(check.IsChecked());
    EnableWindow(push.GetHWND(), FALSE);
    Focus(push);
    key(VK_SPACE);
    EXPECT_EQ(2, pushed.calls);
}

TEST_F(EditTest, FieldsComeAndGoWithoutLeaks)
{
    auto cycle = [&](int i) {
        SingleLineEdit one(top, 0);
        one.ChangeFont(Font(SString("Tahoma"), 12 + i % 3));
        one.ChangeBackgroundTexture(Texture(Color(static_cast<unsigned long>(RGB(i % 255, 200, 200)))));
        one.SetText(SString("some text"));
        EditEx ex(top, 0);
        ex.SetText(SString("teh word"));
        ex.SetWords({{SString("teh"), SString("the")}});
        ex.ChangeBackgroundTexture(Texture(Color(static_cast<unsigned long>(RGB(250, 250, i % 255)))));
        ex.Correct();
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 60}, cycle));
}

} // namespace

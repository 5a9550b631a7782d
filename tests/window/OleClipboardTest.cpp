// ks-test: serial
// The OLE clipboard against a model: random puts (immediate and delayed)
// collect in a source that DoClip hands over, Clear empties, and Flush
// leaves on the clipboard after the source is gone; every check reads all
// formats back through the platform.
#include "tests/support/WindowFixture.h"
#include "window/OleClipboard.h"
#include "window/ZnOleDataSource.h"

#include <cstring>
#include <deque>
#include <set>
#include <map>
#include <random>
#include <string>

namespace {

// Renders a delayed format as its name and a generation number, so that
// a stale rendering shows.
struct Renderer : LinkHdl
{
    int calls = 0;
    int generation = 0;
    bool refuse = false;
    // Terminated, as text must be (see the puts below).
    static std::string Text(unsigned short f, int gen)
    {
        return "delayed " + std::to_string(f) + "/" + std::to_string(gen) + std::string(1, '\0');
    }
    __int64 On(void *p)
    {
        auto *r = static_cast<OleRenderData *>(p);
        ++calls;
        if (refuse)
            return 0;
        std::string const s = Text(r->nFormat, generation);
        *r->phGlobal = GlobalAlloc(GMEM_MOVEABLE, s.size());
        std::memcpy(GlobalLock(*r->phGlobal), s.data(), s.size());
        GlobalUnlock(*r->phGlobal);
        return 1;
    }
    Link GetLink() { return Link(this, &Renderer::On); }
};

class OleClipboardTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        for (char const *n : {"KsOle A", "KsOle B", "KsOle C"})
            formats.push_back(static_cast<unsigned short>(RegisterClipboardFormatA(n)));
        formats.push_back(CF_TEXT);
        // The platform clipboard outlives programs: start from nothing.
        OleClipboard::Clear();
    }
    // Every format of the model reads back as the model has it, and no
    // other is offered.
    void ExpectClipboard(std::map<unsigned short, std::string> const &model, std::string const &where)
    {
        OleClipboard clip;
        for (unsigned short f : formats) {
            auto it = model.find(f);
            ASSERT_EQ(it != model.end(), clip.HasFormat(f)) << where << " format " << f;
            if (it == model.end())
                continue;
            std::string got(it->second.size(), '\0');
            ASSERT_TRUE(clip.Get(got.data(), got.size(), f)) << where;
            EXPECT_EQ(it->second, got) << where << " format " << f;
        }
    }
    std::vector<unsigned short> formats;
};

TEST_F(OleClipboardTest, RandomPutsHandOversClearsAndFlushesAgainstAModel)
{
    std::mt19937 rng(2026);
    // One renderer per PutDelayed: a source renders every delayed format
    // through the link it was given last.
    std::deque<Renderer> renderers;
    auto calls = [&] {
        int n = 0;
        for (Renderer const &r : renderers)
            n += r.calls;
        return n;
    };
    OleClipboard clip;
    std::map<unsigned short, std::string> pending, onClip;
    std::set<unsigned short> pendingDelayed;
    for (int step = 0; step < 400; ++step) {
        unsigned short const f = formats[rng() % formats.size()];
        std::string const where = "step " + std::to_string(step);
        switch (rng() % 7) {
        case 0:
        case 1: {
            // The platform's clipboard ends text with a NUL whatever the
            // bytes: text here is printable and terminated.
            std::string bytes(1 + rng() % 200, '\0');
            for (char &c : bytes)
                c = f == CF_TEXT ? char(' ' + rng() % 95) : char(rng());
            if (f == CF_TEXT)
                bytes.back() = '\0';
            clip.Put(bytes.data(), bytes.size(), f);
            pending[f] = bytes;
            pendingDelayed.erase(f);
            break;
        }
        case 2:
            renderers.emplace_back().generation = step;
            clip.PutDelayed(f, renderers.back().GetLink());
            pendingDelayed.insert(f);
            for (unsigned short d : pendingDelayed)
                pending[d] = Renderer::Text(d, step);
            break;
        case 3:
            clip.DoClip();
            if (!pending.empty())
                onClip = pending;
            pending.clear();
            pendingDelayed.clear();
            ASSERT_NO_FATAL_FAILURE(ExpectClipboard(onClip, where + " after DoClip"));
            break;
        case 4:
            OleClipboard::Clear();
            pending.clear();
            pendingDelayed.clear();
            onClip.clear();
            ASSERT_NO_FATAL_FAILURE(ExpectClipboard(onClip, where + " after Clear"));
            break;
        case 5: {
            OleClipboard::Flush();
            int const before = calls();
            EXPECT_NE(S_OK, OleIsCurrentClipboard(OleClipboard::GetPDataSource())) << "the source is gone";
            ASSERT_NO_FATAL_FAILURE(ExpectClipboard(onClip, where + " after Flush"));
            EXPECT_EQ(before, calls()) << "everything was rendered at the flush";
            break;
        }
        default:
            ASSERT_NO_FATAL_FAILURE(ExpectClipboard(onClip, where));
        }
    }
}

TEST_F(OleClipboardTest, TextRoundTripsAndARefusedRenderingIsNoData)
{
    OleClipboard clip;
    clip.Put(SString("hello, clipboard"));
    clip.DoClip();
    EXPECT_EQ("hello, clipboard", std::string(clip.GetString().GetStr()));
    EXPECT_TRUE(clip.HasFormat(CF_TEXT));
    char small[5] = "....";
    ASSERT_TRUE(clip.Get(small, 4, CF_TEXT));
    EXPECT_EQ("hell", std::string(small)) << "never more than the caller's size";

    Renderer renderer;
    renderer.refuse = true;
    clip.PutDelayed(CF_TEXT, renderer.GetLink());
    clip.DoClip();
    EXPECT_EQ("", std::string(clip.GetString().GetStr()));
    EXPECT_GE(renderer.calls, 1);
    char buf[4] = {};
    EXPECT_FALSE(clip.Get(buf, sizeof buf, CF_TEXT));
    EXPECT_FALSE(clip.Get(nullptr, 4, CF_TEXT));
    OleClipboard::Clear();
    EXPECT_FALSE(clip.HasFormat(CF_TEXT));
    EXPECT_EQ("", std::string(clip.GetString().GetStr()));
}

// Without reads: under Wine every GetClipboardData leaves a 1 KB block
// behind, ours or not.
TEST_F(OleClipboardTest, HandOversAndFlushesLeaveNothingBehind)
{
    OleClipboard clip;
    Renderer renderer;
    auto cycle = [&](int i) {
        std::string const s = "cycle " + std::to_string(i);
        clip.Put(SString(s.c_str()));
        clip.PutDelayed(formats[0], renderer.GetLink());
        if (i % 4 == 3)
            clip.Put(SString("never handed over"));
        else
            clip.DoClip();
        if (i % 3 == 0)
            OleClipboard::Flush();
        else if (i % 3 == 1)
            OleClipboard::Clear();
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 36}, cycle)); // whole periods of the pattern
}

} // namespace

// Links and handler chains: order, one-shot entries, sums, and chains that
// change while they are being called.
#include "frame/HdlChain.h"
#include "frame/Link.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<int> g_log; // every call, as id * 10 + the handler's number

class Target : public LinkHdl
{
public:
    int id = 0;
    __int64 ret = 0;
    HdlChain *chain = nullptr;
    Link toRemove, toAdd;

    __int64 A(void *arg)
    {
        g_log.push_back(id * 10 + 1);
        if (arg)
            *static_cast<int *>(arg) += 1;
        return ret;
    }
    __int64 B(void *) { return g_log.push_back(id * 10 + 2), ret; }
    __int64 Meddle(void *)
    {
        g_log.push_back(id * 10 + 3);
        if (toRemove.IsSet())
            chain->Remove(toRemove);
        if (toAdd.IsSet())
            chain->Add(toAdd, false);
        return 0;
    }
};

} // namespace

TEST(Link, CallsSetLinksOnly)
{
    Target t;
    t.ret = 42;
    int hits = 0;
    Link l(&t, &Target::A);
    EXPECT_EQ(42, l.Call(&hits));
    EXPECT_EQ(0, Link().Call(&hits)) << "an empty link calls nothing";
    EXPECT_EQ(0, Link(&t, nullptr).Call(&hits));
    EXPECT_EQ(1, hits);
    EXPECT_TRUE(Link(&t, &Target::B) != l);
    l.InterlockedClear();
    EXPECT_TRUE(l == Link());
}

TEST(HdlChain, CallsInKeyOrderWhateverTheOrderOfAdding)
{
    g_log.clear();
    Target t;
    t.id = 1;
    Link a(&t, &Target::A), b(&t, &Target::B);
    Link const &lower = a < b ? a : b;
    Link const &upper = a < b ? b : a;
    HdlChain chain;
    chain.Add(upper, false);
    chain.Add(lower, false);
    chain.Call(nullptr);
    ASSERT_EQ(2u, g_log.size());
    EXPECT_EQ(lower == a ? 11 : 12, g_log[0]);
    EXPECT_EQ(2, chain.Count());
    chain.Add(a, false); // present already: nothing changes
    EXPECT_EQ(2, chain.Count());
}

TEST(HdlChain, OneShotEntriesAndWrappingSums)
{
    g_log.clear();
    Target x, y, z;
    x.ret = 1, y.ret = 2, z.ret = -1;
    HdlChain sums;
    sums.Add(Link(&x, &Target::A), false);
    sums.Add(Link(&y, &Target::A), false);
    sums.Add(Link(&z, &Target::A), false);
    EXPECT_EQ(2, sums.Call(nullptr));

    HdlChain once;
    Link lx(&x, &Target::A);
    once.Add(lx, true);
    once.Add(lx, false); // the earlier flag stays: still one-shot
    once.Call(nullptr);
    EXPECT_TRUE(once.IsEmpty());
    g_log.clear();
    once.Call(nullptr);
    EXPECT_TRUE(g_log.empty());
    EXPECT_EQ(0, HdlChain().Call(nullptr));

    HdlChain big;
    x.ret = y.ret = 0x7FFFFFFF;
    big.Add(Link(&x, &Target::B), false);
    big.Add(Link(&y, &Target::B), false);
    EXPECT_EQ(-2, big.Call(nullptr)) << "kept to 32 bits, wrapping";
    EXPECT_FALSE(big.Remove(Link(&z, &Target::B)));
    EXPECT_TRUE(big.Remove(Link(&x, &Target::B)));
    EXPECT_EQ(1, big.Count());
}

TEST(HdlChain, HandlersMayChangeTheChainCallingThem)
{
    g_log.clear();
    Target a, b, c;
    a.id = 1, b.id = 2, c.id = 3;
    Target *sorted[] = {&a, &b, &c};
    std::sort(std::begin(sorted), std::end(sorted));
    HdlChain chain;
    // The first entry removes the last and adds a new one; the last must not
    // be called in this pass, the new one only from the next pass on.
    sorted[0]->chain = &chain;
    sorted[0]->toRemove = Link(sorted[2], &Target::A);
    sorted[0]->toAdd = Link(sorted[1], &Target::B);
    chain.Add(Link(sorted[0], &Target::Meddle), false);
    chain.Add(Link(sorted[2], &Target::A), false);
    chain.Call(nullptr);
    ASSERT_EQ(1u, g_log.size()) << "removed during the pass: not called; added: waits";
    EXPECT_EQ(sorted[0]->id * 10 + 3, g_log[0]);
    EXPECT_EQ(2, chain.Count());
    g_log.clear();
    sorted[0]->toAdd = Link();
    sorted[0]->toRemove = Link();
    chain.Call(nullptr);
    EXPECT_EQ(2u, g_log.size()) << "the added link runs in the next pass";
}

#include "platform/com/ComPtr.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Counts its references; Release answers the count left, as COM objects do.
struct Counted : IUnknown {
    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return ++references; }
    ULONG Release() override { return --references; }
    ULONG references = 1;
};

}  // namespace

TEST(ComPtr, TakesOverSharesAndCopiesWithOneReferenceEach)
{
    Counted object;
    {
        ComPtr<Counted> owner(&object);
        EXPECT_EQ(object.references, 1u);
        ComPtr<Counted> copy = owner;
        ComPtr<Counted> shared = ComPtr<Counted>::Share(&object);
        EXPECT_EQ(object.references, 3u);
        ComPtr<Counted> moved = std::move(copy);
        EXPECT_FALSE(copy);
        EXPECT_EQ(object.references, 3u);
        std::vector<ComPtr<Counted>> many(2, owner);
        EXPECT_EQ(object.references, 5u);
    }
    EXPECT_EQ(object.references, 0u);
}

TEST(ComPtr, OutReleasesTheOldReferenceAndCopyToHandsOutANewOne)
{
    Counted first;
    Counted second;
    ComPtr<Counted> holder(&first);
    Counted** out = holder.Out();
    EXPECT_EQ(first.references, 0u);
    EXPECT_EQ(*out, nullptr);
    *out = &second;
    Counted* handed = nullptr;
    holder.CopyTo(&handed);
    EXPECT_EQ(handed, &second);
    EXPECT_EQ(second.references, 2u);
    ComPtr<Counted>().CopyTo(&handed);
    EXPECT_EQ(handed, nullptr);
    EXPECT_EQ(holder.Detach(), &second);
    EXPECT_FALSE(holder);
    EXPECT_EQ(second.references, 2u);
}

TEST(ComPtr, SelfAssignmentKeepsTheReference)
{
    Counted object;
    ComPtr<Counted> holder(&object);
    ComPtr<Counted>& same = holder;
    holder = same;
    EXPECT_EQ(holder.get(), &object);
    EXPECT_EQ(object.references, 1u);
    holder.Reset();
    EXPECT_EQ(object.references, 0u);
}

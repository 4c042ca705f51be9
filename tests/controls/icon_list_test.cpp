// The icon list: its notification rules, its stored data and its native handles.
#include "controls/icon_list.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace tessera {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Hands out handle 100 + the image's first byte, and counts what is still alive.
class CountingMaker : public IconMaker {
public:
    IconHandle Make(std::span<const std::uint8_t> image) override {
        ++made;
        return 100 + image[0];
    }
    void Free(IconHandle) override { ++freed; }
    int made = 0;
    int freed = 0;
};

TIcon& Icon(TIcon& icon, Bytes image) {
    icon.SetImage(std::move(image));
    return icon;
}

TEST(IconList, NotifiesOncePerChangeOrOncePerOutermostBracket) {
    TIconList list;
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    TIcon a;
    Icon(a, {1, 2});

    list.Add(a);
    EXPECT_EQ(changes, 1);

    list.BeginUpdate();
    list.BeginUpdate();
    list.Add(a);
    list.AddEmpty();
    list.EndUpdate();
    EXPECT_EQ(changes, 1) << "the inner bracket closing must not notify";
    list.EndUpdate();
    EXPECT_EQ(changes, 2);

    list.BeginUpdate();
    list.EndUpdate();
    EXPECT_EQ(changes, 2) << "a bracket without a change is silent";

    TIconList other;
    other.Add(a);
    other.Add(a);
    list.Assign(other);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(list.Count(), 2);
    list.Assign(a);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(list.Count(), 1);

    // An entry's own change is the list's change.
    list.Item(0).SetImage({9});
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(list.Item(0).Image(), Bytes{9});
    EXPECT_EQ(a.Image(), (Bytes{1, 2})) << "the list holds copies";
}

TEST(IconList, StoredDataRoundTripsWithEmptyEntries) {
    TIcon a, b;
    Icon(a, {0xAA, 0xBB, 0xCC});
    Icon(b, {0x01});
    TIconList list;
    list.Add(a);
    list.AddEmpty();
    list.Add(b);

    const Bytes data = list.WriteData();
    const Bytes expected{3, 0, 0, 0, 3, 0, 0, 0, 0xAA, 0xBB, 0xCC, 0, 0, 0, 0, 1, 0, 0, 0, 0x01};
    EXPECT_EQ(data, expected);

    TIconList back;
    back.AddEmpty();
    int changes = 0;
    back.OnChange = [&] { ++changes; };
    back.ReadData(data);
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(back.Item(0).Image(), a.Image());
    EXPECT_TRUE(back.Item(1).Empty());
    EXPECT_EQ(back.Item(2).Image(), b.Image());

    // A negative size is an empty entry too.
    back.ReadData(Bytes{1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
    ASSERT_EQ(back.Count(), 1);
    EXPECT_TRUE(back.Item(0).Empty());
}

TEST(IconList, DamagedDataIsRejectedAndLeavesTheListAlone) {
    TIcon a;
    Icon(a, {7, 7, 7, 7, 7});
    TIconList source;
    source.Add(a);
    source.Add(a);
    const Bytes data = source.WriteData();

    TIconList list;
    list.Add(a);
    for (std::size_t cut = 0; cut < data.size(); ++cut) {
        const Bytes part(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_THROW(list.ReadData(part), std::runtime_error) << "cut at " << cut;
    }
    // A count far beyond the data, a negative count, a size beyond the data.
    EXPECT_THROW(list.ReadData(Bytes{0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0}), std::runtime_error);
    EXPECT_THROW(list.ReadData(Bytes{0xFF, 0xFF, 0xFF, 0xFF}), std::runtime_error);
    EXPECT_THROW(list.ReadData(Bytes{1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 1}), std::runtime_error);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Item(0).Image(), a.Image());
}

TEST(IconList, HandlesAreMadeOnceAndFreedWithTheirImage) {
    CountingMaker maker;
    {
        TIconList list(&maker);
        TIcon a;
        Icon(a, {5});
        list.Add(a);
        list.AddEmpty();
        EXPECT_EQ(list.Item(0).Handle(), 105u);
        EXPECT_EQ(list.Item(0).Handle(), 105u);
        EXPECT_EQ(list.Item(1).Handle(), 0u);
        EXPECT_EQ(maker.made, 1);
        list.Item(0).SetImage({6});
        EXPECT_EQ(maker.freed, 1);
        EXPECT_EQ(list.Item(0).Handle(), 106u);
    }
    EXPECT_EQ(maker.made, maker.freed);
}

}  // namespace
}  // namespace tessera

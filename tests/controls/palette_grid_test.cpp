// The palette grid's cells and the viewer's placement of a picture.
#include "controls/palette_grid.h"

#include <gtest/gtest.h>

#include <vector>

#include "controls/scroll_layout.h"

namespace tessera {
namespace {

std::vector<PaletteEntry> Ramp(int count) {
    std::vector<PaletteEntry> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i / 2),
                           static_cast<std::uint8_t>(255 - i % 256), 0});
    return entries;
}

TEST(PaletteGrid, KeepsAtMost256Entries) {
    PaletteGridModel grid;
    grid.SetEntries(Ramp(300));
    EXPECT_EQ(grid.entryCount(), 256);
    EXPECT_EQ(grid.entries()[255].red, 255);
    grid.SetEntries(Ramp(10));
    EXPECT_EQ(grid.entryCount(), 10);
}

TEST(PaletteGrid, FitsColumnsBesideTheScrollBarAndRowsToTheEntries) {
    PaletteGridModel grid;
    grid.SetEntries(Ramp(16));
    grid.FitGrid(217, 17);  // exactly ten cells beside the bar
    EXPECT_EQ(grid.columns(), 10);
    EXPECT_EQ(grid.rows(), 2);
    EXPECT_EQ(grid.contentHeight(), 40);
    grid.FitGrid(216, 17);
    EXPECT_EQ(grid.columns(), 9);

    grid.FitGrid(20, 17);  // too narrow for one cell: one column all the same
    EXPECT_EQ(grid.columns(), 1);
    EXPECT_EQ(grid.rows(), 16);

    grid.SetEntries(Ramp(20));
    grid.FitGrid(217, 17);
    EXPECT_EQ(grid.rows(), 2);  // an exact multiple adds no row

    grid.SetEntries({});
    grid.FitGrid(217, 17);
    EXPECT_EQ(grid.rows(), 1);
    EXPECT_EQ(grid.contentHeight(), 20);

    // At 150 % the cells are 30 pixels: the same client holds fewer of them.
    grid.SetEntries(Ramp(16));
    grid.FitGrid(217, 17, 30);
    EXPECT_EQ(grid.columns(), 6);
    EXPECT_EQ(grid.contentHeight(), 90);
}

TEST(PaletteGrid, CellsPastTheEntriesHaveNoColourAndOnlyTheFirstOfThemCanBeSelected) {
    PaletteGridModel grid;
    grid.SetEntries(std::vector<PaletteEntry>{{0x11, 0x22, 0x33, 0}, {1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}});
    grid.FitGrid(77, 17);  // three columns
    EXPECT_EQ(grid.ColorAt(0, 0), 0x332211u);
    EXPECT_EQ(grid.ColorAt(0, 1), 0x090807u);  // index = column + row × columns
    EXPECT_EQ(grid.ColorAt(1, 1), PaletteGridModel::kNoColour);
    EXPECT_EQ(grid.ColorAt(0, 5), PaletteGridModel::kNoColour);
    EXPECT_EQ(grid.ColorAt(-1, 0), PaletteGridModel::kNoColour);
    EXPECT_TRUE(grid.CanSelect(2, 0));
    EXPECT_FALSE(grid.CanSelect(1, 1));

    grid.SetEntries({});
    EXPECT_EQ(grid.ColorAt(0, 0), PaletteGridModel::kNoColour);
    EXPECT_TRUE(grid.CanSelect(0, 0));
    EXPECT_FALSE(grid.CanSelect(1, 0));
}

TEST(CentreChild, CentresASmallChildAndPinsALargeOneToTheOrigin) {
    EXPECT_EQ(CentreChild({300, 200}, {100, 50}).x, 100);
    EXPECT_EQ(CentreChild({300, 200}, {100, 50}).y, 75);
    EXPECT_EQ(CentreChild({301, 200}, {100, 51}).x, 100);  // halves round toward zero
    EXPECT_EQ(CentreChild({301, 200}, {100, 51}).y, 74);
    const Offset large = CentreChild({300, 200}, {400, 150});
    EXPECT_EQ(large.x, 0);
    EXPECT_EQ(large.y, 25);
    EXPECT_EQ(CentreChild({0, 0}, {0, 0}).x, 0);
}

TEST(ScrollLayout, OneScrollBarMayCallForTheOther) {
    const Extent bar{17, 17};
    ScrollBarFit fit = FitScrollBars({200, 100}, {150, 90}, bar);
    EXPECT_FALSE(fit.horizontal);
    EXPECT_FALSE(fit.vertical);
    EXPECT_EQ(fit.client.width, 200);

    fit = FitScrollBars({200, 100}, {250, 50}, bar);
    EXPECT_TRUE(fit.horizontal);
    EXPECT_FALSE(fit.vertical);
    EXPECT_EQ(fit.client.height, 83);

    // The horizontal bar leaves 83 pixels, too few for 90.
    fit = FitScrollBars({200, 100}, {250, 90}, bar);
    EXPECT_TRUE(fit.horizontal);
    EXPECT_TRUE(fit.vertical);
    EXPECT_EQ(fit.client.width, 183);
    EXPECT_EQ(fit.client.height, 83);

    // The vertical bar leaves 183 pixels, too few for 190.
    fit = FitScrollBars({200, 100}, {190, 300}, bar);
    EXPECT_TRUE(fit.horizontal);
    EXPECT_TRUE(fit.vertical);
}

// Every request ends between the top and the last page; a page of nothing still moves a line.
TEST(ScrollLayout, ScrollRequestsStayBetweenTheStartAndTheLastPage) {
    const ScrollState s{.position = 50, .trackPosition = 70, .page = 40, .content = 100, .line = 5};
    EXPECT_EQ(ScrollTarget(ScrollRequest::LineBack, s), 45);
    EXPECT_EQ(ScrollTarget(ScrollRequest::LineForward, s), 55);
    EXPECT_EQ(ScrollTarget(ScrollRequest::PageBack, s), 10);
    EXPECT_EQ(ScrollTarget(ScrollRequest::PageForward, s), 60);
    EXPECT_EQ(ScrollTarget(ScrollRequest::Track, s), 60);
    EXPECT_EQ(ScrollTarget(ScrollRequest::Track, {.position = 50, .trackPosition = 20, .page = 40, .content = 100}),
              20);
    EXPECT_EQ(ScrollTarget(ScrollRequest::Start, s), 0);
    EXPECT_EQ(ScrollTarget(ScrollRequest::End, s), 60);
    EXPECT_EQ(ScrollTarget(ScrollRequest::Other, s), 50);
    EXPECT_EQ(ScrollTarget(ScrollRequest::PageBack, {.position = 50, .page = 0, .content = 100}), 49);
    EXPECT_EQ(ScrollTarget(ScrollRequest::End, {.page = 100, .content = 40}), 0);
}

}  // namespace
}  // namespace tessera

// The title menu with synthetic pictures: a 300x400 panel, so it sits at
// (250, 100) and row r spans screen rows 190 + 40r .. 229 + 40r, while the
// pointer zone stays at screen x 90..390.
#include "app/system.h"
#include "screens/titlemenu.h"
#include "support/harness.h"

namespace {
constexpr int kPanelW = 300;
constexpr int kPanelH = 400;
int RowY(int r) {
    return 190 + 40 * r + 5;
}
}  // namespace

class TitleMenuTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        titleImage = Solid(400, 300, makecol(200, 0, 0));
        panelImage = Solid(kPanelW, kPanelH, makecol(0, 0, 200));
        panelSelImage = Solid(kPanelW, kPanelH, makecol(0, 200, 0));
        backdrop = Own(Solid(800, 600, makecol(60, 60, 60)));
    }
    void TearDown() override {
        DestroyTitleMenuImages();
        backdrop = nullptr;
        HeadlessTest::TearDown();
    }
    bool PanelVisible() const { return getpixel(hp->display(), 5, 5) == makecol(60, 60, 60); }
    // The highlighted row as the display shows it, or -1.
    int HighlightedRow() const {
        for (int r = 0; r < 7; ++r)
            if (getpixel(hp->display(), 250 + 150, RowY(r)) == makecol(0, 200, 0))
                return r;
        return -1;
    }
};

TEST_F(TitleMenuTest, FirstCallSwallowsEarlyKeysAndAKeyLaterOnlyRevealsThePanel) {
    hp->PressKey(50, KEY_DOWN);   // within 2.5 s: nothing happens
    hp->PressKey(300, KEY_DOWN);  // reveals the panel, does not move the highlight
    hp->PressKey(310, KEY_ENTER, '\r');
    bool panelAt100 = true, panelAt305 = false;
    int rowAt305 = -1;
    hp->onFrame = [&](int f) {
        if (f == 100)
            panelAt100 = PanelVisible();
        if (f == 305) {
            panelAt305 = PanelVisible();
            rowAt305 = HighlightedRow();
        }
    };
    EXPECT_EQ(TitleMenu(1), 0);
    EXPECT_FALSE(panelAt100);
    EXPECT_TRUE(panelAt305);
    EXPECT_EQ(rowAt305, 0);
}

TEST_F(TitleMenuTest, FirstCallPointerMovedInWithButtonHeldRevealsAndConfirms) {
    hp->MouseAt(300, 100, RowY(3), 1);
    EXPECT_EQ(TitleMenu(1), 3);
    EXPECT_EQ(hp->frame(), 301);
}

TEST_F(TitleMenuTest, ButtonAlreadyDownInZoneConfirmsRowZeroAtOnce) {
    hp->MouseAt(0, 100, RowY(4), 1);
    EXPECT_EQ(TitleMenu(0), 0) << "the resting pointer must not pick its row";
    EXPECT_EQ(hp->frame(), 2);
}

TEST_F(TitleMenuTest, ArrowsWrapAroundBothEnds) {
    hp->PressKey(3, KEY_UP);
    hp->PressKey(6, KEY_ENTER, '\r');
    EXPECT_EQ(TitleMenu(0), 6);
    hp = StartHeadless();
    hp->PressKey(3, KEY_UP);
    hp->PressKey(5, KEY_DOWN);
    hp->PressKey(7, KEY_ENTER, '\r');
    EXPECT_EQ(TitleMenu(0), 0);
}

TEST_F(TitleMenuTest, HoverThenArrowThenClickConfirmsTheArrowedRow) {
    hp->MouseAt(3, 100, RowY(2));
    hp->PressKey(6, KEY_DOWN);
    hp->MouseAt(9, 100, RowY(2), 1);  // same spot: the pointer did not move
    EXPECT_EQ(TitleMenu(0), 3);
}

TEST_F(TitleMenuTest, PointerSelectionClampsAboveAndBelowTheRows) {
    hp->MouseAt(3, 390, 590);  // right edge of the zone, far below row 6
    int lowRow = -1, highRow = -1;
    hp->MouseAt(8, 90, 151);  // left edge of the zone, 39 pixels above row 0
    hp->onFrame = [&](int f) {
        if (f == 5)
            lowRow = HighlightedRow();
        if (f == 10)
            highRow = HighlightedRow();
    };
    hp->PressKey(12, KEY_ENTER, '\r');
    EXPECT_EQ(TitleMenu(0), 0);
    EXPECT_EQ(lowRow, 6);
    EXPECT_EQ(highRow, 0);
}

TEST_F(TitleMenuTest, PointerOutsideZoneOrOnTopRowNeitherMovesNorConfirms) {
    hp->MouseAt(3, 391, RowY(5), 1);  // one pixel right of the zone
    hp->MouseAt(6, 100, 0, 1);        // top screen row
    hp->MouseAt(9, 100, 0, 0);
    hp->PressKey(12, KEY_ENTER, '\r');
    EXPECT_EQ(TitleMenu(0), 0);
    EXPECT_GE(hp->frame(), 12);
}

TEST_F(TitleMenuTest, F9FollowedByAnotherKeyIsConsumedAndIgnored) {
    hp->PressKey(3, KEY_DOWN);
    hp->PressKey(5, KEY_F9);
    hp->PressKey(7, KEY_K, 'k');
    hp->PressKey(9, KEY_ENTER, '\r');
    EXPECT_EQ(TitleMenu(0), 1);
}

TEST_F(TitleMenuTest, HoldingVShowsTheVersionLineOnlyWhileHeld) {
    auto whiteInCorner = [&]() {
        for (int y = 8; y < 20; ++y)
            for (int x = 0; x < 120; ++x)
                if (getpixel(hp->display(), x, y) == makecol(255, 255, 255))
                    return true;
        return false;
    };
    bool shown = false, gone = true;
    hp->HoldKey(4, KEY_V, true);
    hp->HoldKey(8, KEY_V, false);
    hp->onFrame = [&](int f) {
        if (f == 6)
            shown = whiteInCorner();
        if (f == 10)
            gone = !whiteInCorner();
    };
    hp->PressKey(12, KEY_ENTER, '\r');
    TitleMenu(0);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(gone);
}

TEST_F(TitleMenuTest, EveryCallStartsOnRowZero) {
    hp->PressKey(2, KEY_DOWN);
    hp->PressKey(3, KEY_DOWN);
    hp->PressKey(4, KEY_ENTER, '\r');
    EXPECT_EQ(TitleMenu(0), 2);
    hp->PressKey(8, KEY_ENTER, '\r');
    EXPECT_EQ(TitleMenu(0), 0);
}

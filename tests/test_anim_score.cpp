// Sprite strips, the intrusive list, the score with its pop-ups and the
// counters, all with small synthetic pictures.
#include <vector>

#include "actors/anim.h"
#include "actors/list.h"
#include "app/system.h"
#include "game/gamestate.h"
#include "support/harness.h"
#include "world/score.h"

namespace {

// Distinct 5-6-5 colours for frames and glyphs; none is the mask colour.
int Shade(int k) {
    return makecol(16 + 24 * k, 120, 40);
}

// A horizontal strip of `frames` frames, each a solid Shade(k), plus
// `extra` columns of Shade(9) at the right.
BITMAP* Strip(int frames, int frameW, int h, int extra = 0) {
    BITMAP* b = create_bitmap(frames * frameW + extra, h);
    clear_to_color(b, Shade(9));
    for (int k = 0; k < frames; ++k)
        rectfill(b, k * frameW, 0, (k + 1) * frameW - 1, h - 1, Shade(k));
    return b;
}

// The glyph (0..9) at a screen cell, or -1 when no glyph is there.
int GlyphAt(BITMAP* bmp, int x, int y) {
    int c = getpixel(bmp, x + 1, y + 1);
    for (int d = 0; d < 10; ++d)
        if (c == Shade(d))
            return d;
    return -1;
}

struct Node {
    int id;
    Node* next;
    Node* prev;
};

std::vector<int> Ids(const List<Node>& list) {
    std::vector<int> ids;
    for (Node* n = list.head; n; n = n->next)
        ids.push_back(n->id);
    std::vector<int> back;
    for (Node* n = list.tail; n; n = n->prev)
        back.insert(back.begin(), n->id);
    EXPECT_EQ(ids, back) << "prev links disagree with next links";
    return ids;
}

}  // namespace

TEST(ListTest, WalkMayFreeHeadMiddleAndTailAndFreeAllEmpties) {
    List<Node> list;
    for (int i = 0; i < 5; ++i)
        list.Append(new Node{i, nullptr, nullptr});
    auto free = [&](Node* x) {
        list.Unlink(x);
        delete x;
    };
    std::vector<int> seen;
    list.Walk([&](Node* x) {
        seen.push_back(x->id);
        if (x->id % 2 == 0)
            free(x);
    });
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(Ids(list), (std::vector<int>{1, 3}));
    list.Walk(free);
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
    list.Append(new Node{7, nullptr, nullptr});
    EXPECT_EQ(Ids(list), (std::vector<int>{7}));
    list.FreeAll(free);
    EXPECT_TRUE(list.Empty());
}

class AnimTest : public HeadlessTest {};

TEST_F(AnimTest, FrameWidthTruncatesMaskIsSeeThroughAndEdgesClip) {
    BITMAP* strip = Own(Strip(4, 10, 6, 3));  // 43 wide
    putpixel(strip, 32, 2, bitmap_mask_color(strip));
    Anim* a = CreateAnim(strip, 4);
    EXPECT_EQ(a->frameWidth, 10);
    a->frame = 3;
    clear_to_color(backBuffer, 0);
    DrawAnimFrame(a, backBuffer, 100, 50);
    EXPECT_EQ(getpixel(backBuffer, 100, 50), Shade(3));
    EXPECT_EQ(getpixel(backBuffer, 109, 55), Shade(3));
    EXPECT_EQ(getpixel(backBuffer, 110, 50), 0);  // leftover column not drawn
    EXPECT_EQ(getpixel(backBuffer, 100, 56), 0);
    EXPECT_EQ(getpixel(backBuffer, 102, 52), 0);  // the hole
    DrawAnimFrame(a, backBuffer, -8, 200);        // only the frame's last two columns show
    EXPECT_EQ(getpixel(backBuffer, 1, 205), Shade(3));
    EXPECT_EQ(getpixel(backBuffer, 2, 200), 0);
    DrawAnimFrame(a, backBuffer, 795, 597);
    EXPECT_EQ(getpixel(backBuffer, 799, 599), Shade(3));
    FreeAnim(a);
}

TEST_F(AnimTest, RisingShowsTheTopRowsSittingOnTheRim) {
    BITMAP* strip = Own(Strip(1, 8, 10));
    rectfill(strip, 0, 5, 7, 9, Shade(5));  // feet in another colour
    Anim* a = CreateAnim(strip, 1);
    clear_to_color(backBuffer, 0);
    DrawAnimRising(a, backBuffer, 50, 200, 0);
    for (int y = 185; y < 205; ++y)
        ASSERT_EQ(getpixel(backBuffer, 52, y), 0) << y;
    DrawAnimRising(a, backBuffer, 50, 200, 3);  // the head, rows 197..199
    EXPECT_EQ(getpixel(backBuffer, 52, 196), 0);
    EXPECT_EQ(getpixel(backBuffer, 52, 197), Shade(0));
    EXPECT_EQ(getpixel(backBuffer, 52, 199), Shade(0));
    EXPECT_EQ(getpixel(backBuffer, 52, 200), 0);
    clear_to_color(backBuffer, 0);
    DrawAnimRising(a, backBuffer, 50, 200, 10);  // whole figure, top at 190
    EXPECT_EQ(getpixel(backBuffer, 52, 189), 0);
    EXPECT_EQ(getpixel(backBuffer, 52, 190), Shade(0));
    EXPECT_EQ(getpixel(backBuffer, 52, 199), Shade(5));
    EXPECT_EQ(getpixel(backBuffer, 52, 200), 0);
    FreeAnim(a);
}

class ScoreTest : public HeadlessTest {
  protected:
    static constexpr int kGlyphW = 6;
    void SetUp() override {
        HeadlessTest::SetUp();
        digitImage = Own(Strip(10, kGlyphW, 8));
        scoreImage = Own(Strip(1, 40, 35 * 9));
        bonusImage = Own(Strip(1, 60, 36 * 7));
        lifeImage = Own(Solid(70, 40, makecol(0, 0, 255)));
        ResetScoreState();
        cameraX = 1200;
        clear_to_color(backBuffer, 0);
    }
    void TearDown() override {
        FreeAllPopups();
        digitImage = scoreImage = bonusImage = lifeImage = nullptr;
        HeadlessTest::TearDown();
    }
    // The digits drawn in a row, read from `leftX` in glyph steps.
    std::vector<int> Digits(int leftX, int y, int cells) {
        std::vector<int> d;
        for (int i = 0; i < cells; ++i)
            d.push_back(GlyphAt(backBuffer, leftX + i * kGlyphW, y));
        return d;
    }
};

TEST_F(ScoreTest, AddScoreAndBonusPickThePopupFrameExactly) {
    score = 40;
    AddScore(250, 1500, 200);
    EXPECT_EQ(score, 290);
    AddScore(0, 1500, 200);
    EXPECT_EQ(score, 290);
    AddScore(-1000, 1500, 200);
    EXPECT_EQ(score, -710);
    AddScore(50, 1500, 200);
    AddScore(1000, 1500, 200);
    std::vector<int> frames;
    for (Popup* p = popupList.head; p; p = p->next)
        frames.push_back(p->frame);
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 8, 3}));
    EXPECT_EQ(popupList.head->endY, 125);
    // The bonus level is clamped only from above.
    EXPECT_EQ(SpawnBonusPopup(0, 0, 9)->frame, 6);
    EXPECT_EQ(SpawnBonusPopup(0, 0, 6)->frame, 6);
    EXPECT_EQ(SpawnBonusPopup(0, 0, 3)->frame, 3);
}

TEST_F(ScoreTest, PopupIsDrawnThirtyEightFramesRisingThenGone) {
    // Frame 4 of the strip gets its own colour so the drawn frame shows.
    rectfill(scoreImage, 0, 4 * 35, 39, 5 * 35 - 1, Shade(4));
    AddScore(500, 1300, 300);  // screen x 100
    std::vector<int> drawnAt;
    for (int f = 0; f < 45 && !popupList.Empty(); ++f) {
        clear_to_color(backBuffer, 0);
        UpdatePopups(backBuffer);
        for (int y = 0; y < 600; ++y)
            if (getpixel(backBuffer, 110, y) == Shade(4)) {
                drawnAt.push_back(y);
                break;
            }
    }
    ASSERT_EQ(drawnAt.size(), 38u);
    EXPECT_EQ(drawnAt.front(), 300);
    EXPECT_EQ(drawnAt.back(), 226);
    EXPECT_TRUE(popupList.Empty());
}

TEST_F(ScoreTest, PopupsExpireFromTheHeadWhileNewerOnesLive) {
    SpawnScorePopup(1300, 300, 100);
    for (int f = 0; f < 10; ++f)
        UpdatePopups(backBuffer);
    Popup* newer = SpawnScorePopup(1300, 300, 200);
    for (int f = 0; f < 28; ++f)
        UpdatePopups(backBuffer);
    // The first one went in its 38th update; the head is fixed up.
    EXPECT_EQ(popupList.head, newer);
    EXPECT_EQ(popupList.tail, newer);
    EXPECT_EQ(newer->prev, nullptr);
    Popup* newest = SpawnScorePopup(1300, 300, 300);
    FreePopup(newest);  // removing the tail of a longer list
    EXPECT_EQ(popupList.tail, newer);
    EXPECT_EQ(newer->next, nullptr);
}

TEST_F(ScoreTest, PopupsAtTheScreenEdgesStillRiseAndGoOnTime) {
    SpawnScorePopup(cameraX + 800, 300, 100);  // sx exactly 800
    SpawnScorePopup(cameraX - 40, 300, 100);   // right edge exactly at 0
    SpawnScorePopup(cameraX - 39, 300, 100);   // one column shows
    UpdatePopups(backBuffer);
    EXPECT_EQ(getpixel(backBuffer, 0, 305), Shade(0));
    EXPECT_EQ(getpixel(backBuffer, 1, 305), 0);
    clear_to_color(backBuffer, 0);
    std::vector<int> ys;
    for (Popup* p = popupList.head; p; p = p->next)
        ys.push_back(p->y);
    EXPECT_EQ(ys, (std::vector<int>{298, 298, 298}));
    for (int f = 1; f < 38; ++f)
        UpdatePopups(backBuffer);
    EXPECT_TRUE(popupList.Empty());
}

TEST_F(ScoreTest, DrawNumberPadsRightAlignsAndOverflowsLeft) {
    DrawNumber(backBuffer, 100, 10, 5, 0);
    EXPECT_EQ(Digits(100 - 5 * kGlyphW, 10, 6), (std::vector<int>{-1, 0, 0, 0, 0, 0}));
    DrawNumber(backBuffer, 100, 30, 0, 0);
    EXPECT_EQ(Digits(100 - 2 * kGlyphW, 30, 4), (std::vector<int>{-1, -1, -1, -1}));
    DrawNumber(backBuffer, 100, 50, 5, -4711);
    EXPECT_EQ(Digits(100 - 5 * kGlyphW, 50, 6), (std::vector<int>{-1, 0, 0, 0, 0, 0}));
    DrawNumber(backBuffer, 100, 70, 5, 123456);
    EXPECT_EQ(Digits(100 - 6 * kGlyphW, 70, 8), (std::vector<int>{-1, 1, 2, 3, 4, 5, 6, -1}));
    DrawNumber(backBuffer, 100, 90, 5, 907);
    EXPECT_EQ(Digits(100 - 4 * kGlyphW, 90, 5), (std::vector<int>{0, 0, 9, 0, 7}));
}

TEST_F(ScoreTest, HudShowsScoreSecondsAndLifeAtTheirPlaces) {
    score = -300;
    timeLeft = 99;
    life = 100;
    lifeAtFrameStart = 100;
    DrawHud(backBuffer);
    EXPECT_EQ(Digits(87 - 4 * kGlyphW, 50, 5), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(Digits(72 - kGlyphW, 75, 2), (std::vector<int>{0, 0}));
    EXPECT_EQ(Digits(56 - 2 * kGlyphW, 535, 3), (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(getpixel(backBuffer, 21, 521), makecol(0, 0, 255));  // the panel

    for (auto [value, lastX, expect] :
         {std::tuple{99, 52, std::vector<int>{9, 9}}, std::tuple{5, 52, std::vector<int>{0, 5}}}) {
        clear_to_color(backBuffer, 0);
        life = lifeAtFrameStart = value;
        DrawHud(backBuffer);
        EXPECT_EQ(Digits(lastX - kGlyphW, 535, 2), expect) << value;
        EXPECT_EQ(GlyphAt(backBuffer, lastX + kGlyphW, 535), -1) << value;
    }

    for (auto [ticks, expect] : {std::pair{9000, std::vector<int>{-1, 9, 0}},
                                 std::pair{10000, std::vector<int>{1, 0, 0}}}) {
        clear_to_color(backBuffer, 0);
        timeLeft = ticks;
        DrawHud(backBuffer);
        EXPECT_EQ(Digits(72 - 2 * kGlyphW, 75, 3), expect) << ticks;
    }
}

TEST_F(ScoreTest, LifeChangingEveryFrameFlashesEveryOtherFrame) {
    const int yellow = makecol(255, 240, 0);
    std::vector<bool> flashed;
    for (int f = 0; f < 5; ++f) {  // damage in each of five frames
        lifeAtFrameStart = life;
        life -= 3;
        clear_to_color(backBuffer, 0);
        DrawHud(backBuffer);
        flashed.push_back(getpixel(backBuffer, 400, 300) == yellow);
    }
    EXPECT_EQ(flashed, (std::vector<bool>{true, false, true, false, true}));
    EXPECT_EQ(getpixel(backBuffer, 799, 599), yellow);

    lifeAtFrameStart = life;  // a quiet frame clears the flag ...
    clear_to_color(backBuffer, 0);
    DrawHud(backBuffer);
    EXPECT_NE(getpixel(backBuffer, 400, 300), yellow);
    lifeAtFrameStart = life;  // ... so healing in the next one flashes
    life += 25;
    DrawHud(backBuffer);
    EXPECT_EQ(getpixel(backBuffer, 400, 300), yellow);
}

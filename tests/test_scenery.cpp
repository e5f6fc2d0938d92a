// The landscape layers with synthetic pictures of distinct colours, so the
// layout can be read back from the layer's pixels.
#include <set>

#include "app/random.h"
#include "support/harness.h"
#include "world/scenery.h"

class SceneryTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        groundImage = Own(Solid(1156, 363, makecol(0, 100, 0)));
        backgroundTile = Own(Solid(300, 120, makecol(0, 0, 100)));
        for (int i = 0; i < kFlowerKinds; ++i)
            flowerImages[i] = Own(Solid(50 + i, 20, makecol(200, 10 + 10 * i, 0)));
        treeImages[0] = Own(Solid(90, 300, makecol(90, 50, 10)));
        treeImages[1] = Own(Solid(80, 350, makecol(90, 60, 10)));
        for (int k = 0; k < 2; ++k) {
            towerImages[k] = Own(Solid(26, 26, makecol(100 + 60 * k, 100, 100)));
            towerHitImages[k] = Own(Solid(26, 26, makecol(50, 50, 50 + 100 * k)));
        }
    }
    void TearDown() override {
        // The real pictures come back for whatever runs next.
        groundImage = backgroundTile = nullptr;
        for (BITMAP*& b : flowerImages)
            b = nullptr;
        for (int k = 0; k < 2; ++k)
            treeImages[k] = towerImages[k] = towerHitImages[k] = nullptr;
        HeadlessTest::TearDown();
    }
};

TEST_F(SceneryTest, ForegroundHasGroundFlowersWithinSectionsAndOneToFiveTrees) {
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        SeedRandom(seed);
        BuildForegroundLayer();
        BITMAP* layer = foregroundLayer;
        ASSERT_EQ(layer->w, 3200);
        ASSERT_EQ(layer->h, 440);
        EXPECT_EQ(getpixel(layer, 3199, 439), makecol(0, 100, 0)) << "ground covers the width";
        EXPECT_EQ(getpixel(layer, 5, 5) == bitmap_mask_color(layer) ||
                      getpixel(layer, 5, 5) == makecol(90, 60, 10),
                  true);
        // Flowers: a flower of kind i is found on its row only inside one section.
        int flowers = 0;
        for (int k = 0; k < 8; ++k) {
            std::set<int> kinds;
            for (int i = 0; i < kFlowerKinds; ++i) {
                int row = 440 - (i % 3 == 0 ? 108 : i % 3 == 1 ? 185 : 228) + 10;
                for (int x = 400 * k; x < 400 * (k + 1); ++x)
                    if (getpixel(layer, x, row) == makecol(200, 10 + 10 * i, 0))
                        kinds.insert(i);
            }
            EXPECT_LE(kinds.size(), 1u) << "two flowers in one section, seed " << seed;
            flowers += int(kinds.size());
        }
        EXPECT_LE(flowers, 8);
        // Trees: tree1 reaches row 0, tree0 only row 50.
        int treeTops = 0;
        for (int x = 0; x < 3200; ++x) {
            if (getpixel(layer, x, 0) == makecol(90, 60, 10))
                ++treeTops;
            EXPECT_NE(getpixel(layer, x, 49), makecol(90, 50, 10)) << "tree0 must stand at 50";
        }
        int trees0 = 0;
        for (int x = 0; x < 3200; ++x)
            if (getpixel(layer, x, 50) == makecol(90, 50, 10))
                ++trees0;
        EXPECT_GE(treeTops + trees0, 80) << "at least one tree";
        EXPECT_LE(treeTops, 5 * 80);
    }
}

TEST_F(SceneryTest, LayersAreReusedAndRepaintedByEveryGame) {
    SeedRandom(3);
    BuildForegroundLayer();
    BuildBackgroundLayers();
    BITMAP* fg = foregroundLayer;
    BITMAP* bg = backgroundLayer;
    BITMAP* strip = towerStrip[0];
    // A shot segment from the last game must not survive.
    blit(towerHitStrip[0], towerStrip[0], 0, 0, 0, 0, 26, 26);
    SeedRandom(3);
    BuildForegroundLayer();
    BuildBackgroundLayers();
    EXPECT_EQ(foregroundLayer, fg);
    EXPECT_EQ(backgroundLayer, bg);
    EXPECT_EQ(towerStrip[0], strip);
    int c = getpixel(towerStrip[0], 5, 5);
    EXPECT_TRUE(c == makecol(100, 100, 100) || c == makecol(160, 100, 100));
    EXPECT_EQ(backgroundLayer->w, 2000);
    EXPECT_EQ(backgroundLayer->h, 120);
    EXPECT_EQ(getpixel(backgroundLayer, 1999, 0), bitmap_mask_color(backgroundLayer))
        << "six 300-wide tiles end at 1800; the rest stays clear";
}

TEST_F(SceneryTest, TowerSegmentsAreChosenIndependentlyWithMatchingHitVersions) {
    int kind1 = 0, total = 0;
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        SeedRandom(seed);
        BuildBackgroundLayers();
        for (int s = 0; s < 2; ++s)
            for (int j = 0; j < 3; ++j) {
                int c = getpixel(towerStrip[s], j * 26 + 3, 3);
                int h = getpixel(towerHitStrip[s], j * 26 + 3, 3);
                bool one = c == makecol(160, 100, 100);
                ASSERT_EQ(h, one ? makecol(50, 50, 150) : makecol(50, 50, 50));
                kind1 += one;
                ++total;
            }
    }
    // Six chances in ten for the second kind.
    EXPECT_NEAR(double(kind1) / total, 0.6, 0.06);
}

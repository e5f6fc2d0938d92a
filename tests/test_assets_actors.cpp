// Geometry of the moving actors' pictures as the game draws and hit-tests
// them: strip layouts, the screen rows they stand on, where effects are
// drawn relative to their owners, and solid silhouettes for the shots.
#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/assets.h"

namespace {

constexpr int kGroundRow = 410;  // first row below walkers and small shooters

// A strip as the game sees it: frame width = image width / frames.
struct Strip {
    Bitmap bmp;
    int frames = 0;
    int fw = 0;
    int h = 0;
    bool Masked(int k, int x, int y) const { return ::Masked(bmp.get(), k * fw + x, y); }
    bool RowHasPixel(int k, int y) const { return HasInk(bmp.get(), k * fw, y, fw, 1); }
    bool Empty(int k) const { return !HasInk(bmp.get(), k * fw, 0, fw, h); }
};

Strip LoadStrip(const std::string& name, int frames) {
    Strip s;
    s.bmp = Load(name);
    s.frames = frames;
    if (s.bmp) {
        s.fw = s.bmp->w / frames;
        s.h = s.bmp->h;
    }
    return s;
}

#define LOAD_STRIP(var, name, frames)                                                 \
    Strip var = LoadStrip(name, frames);                                              \
    ASSERT_TRUE(var.bmp) << name << " is missing from data/gfx.dat";                  \
    ASSERT_EQ(var.bmp->w % (frames), 0) << name << " is not " << frames << " frames"; \
    ASSERT_GT(var.fw, 0) << name

// Mask pixels of frame k that cannot be reached from the frame's border
// through other mask pixels: holes that a shot would pass through. Rows
// above minRow are not counted (but still let the flood through).
int Holes(const Strip& s, int k, int minRow = 0) {
    std::vector<char> seen(size_t(s.fw) * s.h, 0);
    std::vector<std::pair<int, int>> todo;
    auto push = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= s.fw || y >= s.h)
            return;
        char& v = seen[size_t(y) * s.fw + x];
        if (v || !s.Masked(k, x, y))
            return;
        v = 1;
        todo.emplace_back(x, y);
    };
    for (int x = 0; x < s.fw; ++x) {
        push(x, 0);
        push(x, s.h - 1);
    }
    for (int y = 0; y < s.h; ++y) {
        push(0, y);
        push(s.fw - 1, y);
    }
    while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        push(x + 1, y);
        push(x - 1, y);
        push(x, y + 1);
        push(x, y - 1);
    }
    int holes = 0;
    for (int y = minRow; y < s.h; ++y)
        for (int x = 0; x < s.fw; ++x)
            if (!seen[size_t(y) * s.fw + x] && s.Masked(k, x, y))
                ++holes;
    return holes;
}

// Frames from `first` on show something, and each differs from the next: a
// painter that ignored its frame number would leave a strip frozen.
void ExpectShows(const Strip& s, const char* name, int first = 0) {
    for (int k = 0; k < s.frames; ++k) {
        EXPECT_TRUE(k < first || !s.Empty(k)) << name << " frame " << k << " is empty";
        int next = (k + 1) % s.frames;
        bool differ = s.frames == 1;
        for (int y = 0; y < s.h && !differ; ++y)
            for (int x = 0; x < s.fw && !differ; ++x)
                differ = getpixel(s.bmp.get(), k * s.fw + x, y) !=
                         getpixel(s.bmp.get(), next * s.fw + x, y);
        EXPECT_TRUE(differ) << name << " frames " << k << " and " << next << " are the same";
    }
}

void ExpectSolid(const Strip& s, const char* name, int minRow = 0) {
    ExpectShows(s, name);
    for (int k = 0; k < s.frames; ++k)
        EXPECT_EQ(Holes(s, k, minRow), 0) << name << " frame " << k << " has holes";
}

// Feet on the bottom row in every frame.
void ExpectStandsOnBottom(const Strip& s, const char* name) {
    for (int k = 0; k < s.frames; ++k)
        EXPECT_TRUE(s.RowHasPixel(k, s.h - 1)) << name << " frame " << k << " floats";
}

// How many pixels differ in mask-ness between frame a of one strip and the
// mirror image of frame b of another.
int MirrorMismatch(const Strip& s, int a, const Strip& t, int b) {
    int n = 0;
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.fw; ++x)
            n += s.Masked(a, x, y) != t.Masked(b, t.fw - 1 - x, y);
    return n;
}

TEST(ActorAssets, WalkersStandOnTheGroundLineAndKeepOneFrameWidth) {
    const char* names[] = {"mpwalkl.bmp", "mpwalkr.bmp", "mpschml.bmp", "mpschmr.bmp",
                           "fpwalkl.bmp", "fpwalkr.bmp", "fpschml.bmp", "fpschmr.bmp"};
    int fw = -1;
    for (const char* n : names) {
        LOAD_STRIP(s, n, 12);
        // Drawn with their top at row 313: their feet end on row 409.
        EXPECT_EQ(313 + s.h, kGroundRow) << n;
        if (fw < 0)
            fw = s.fw;
        // Walking and cuddling share a width: the heart's place over a pair
        // and the explosion's place over a walker are reckoned from it.
        EXPECT_EQ(s.fw, fw) << n;
        ExpectStandsOnBottom(s, n);
        ExpectSolid(s, n);
    }
    for (const char* n : {"mpexp.bmp", "fpexp.bmp"}) {
        LOAD_STRIP(s, n, 15);
        EXPECT_EQ(s.fw, fw) << n << ": drawn at the walker's left edge, so as wide";
        // Frame 0 is never shown; the later ones must all show something.
        ExpectShows(s, n, 1);
    }
}

TEST(ActorAssets, FemaleLeftWalkIsStoredBackwards) {
    // The game plays "fpwalkl.bmp" from its last frame to its first; stored
    // in the same order as the right-hand strip she would moonwalk.
    LOAD_STRIP(l, "fpwalkl.bmp", 12);
    LOAD_STRIP(r, "fpwalkr.bmp", 12);
    int reversed = 0, straight = 0;
    for (int k = 0; k < 12; ++k) {
        reversed += MirrorMismatch(l, k, r, 11 - k);
        straight += MirrorMismatch(l, k, r, k);
    }
    EXPECT_LT(reversed * 3, straight) << "fpwalkl.bmp frames are not in reverse order of time";
}

TEST(ActorAssets, HeartSpansACuddlingPair) {
    LOAD_STRIP(heart, "herz.bmp", 13);
    LOAD_STRIP(walker, "mpschml.bmp", 12);
    // Drawn 50 rows above the walkers, 34 pixels left of a left-facing male
    // or 72 in from a right-facing male's right edge. For a pair about 45
    // pixels apart the heart's middle should be within a few pixels of the
    // middle between the two walkers, whichever way the male faces.
    const int gap = 45;
    int pairMidLeft = walker.fw / 2 - gap / 2;   // male faces left, female left of him
    int pairMidRight = walker.fw / 2 + gap / 2;  // male faces right
    EXPECT_NEAR(-34 + heart.fw / 2, pairMidLeft, 6);
    EXPECT_NEAR(walker.fw - 72 + heart.fw / 2, pairMidRight, 6);
    EXPECT_LE(heart.h, 50 + 20) << "the heart hides the walkers' faces";
    ExpectShows(heart, "herz.bmp");
}

struct ShooterSize {
    const char* walkL;
    const char* walkR;
    const char* fire;
    const char* explode;
    const char* casing;
    const char* beam;
    int beamDx, beamDy;
    int fireLift;  // rows the shooter is lifted while it fires
};

const ShooterSize kSmall{"shooterwalkl.bmp",
                         "shooterwalkr.bmp",
                         "shootershoot.bmp",
                         "ballexpl.bmp",
                         "huelsee2.bmp",
                         "beam2.bmp",
                         117,
                         20,
                         0};
const ShooterSize kBig{"shooterbigwl.bmp",
                       "shooterbigwr.bmp",
                       "shooterbigshoot.bmp",
                       "ballbigexok.bmp",
                       "shooterbighuelse.bmp",
                       "beam3.bmp",
                       170,
                       24,
                       20};

// Checks one size; walkTop is the walking shooter's top row, ground the
// first row below its feet.
void CheckShooter(const ShooterSize& z, int walkTop, int ground) {
    LOAD_STRIP(wl, z.walkL, 12);
    LOAD_STRIP(wr, z.walkR, 12);
    LOAD_STRIP(fire, z.fire, 10);
    LOAD_STRIP(expl, z.explode, 17);
    LOAD_STRIP(casing, z.casing, 11);
    LOAD_STRIP(beam, z.beam, 7);
    EXPECT_EQ(walkTop + wl.h, ground) << z.walkL;
    EXPECT_EQ(wr.h, wl.h) << z.walkR;
    EXPECT_EQ(wr.fw, wl.fw) << z.walkR;
    ExpectStandsOnBottom(wl, z.walkL);
    ExpectStandsOnBottom(wr, z.walkR);
    // Every shot is tested against the walking strips: no holes in them.
    ExpectSolid(wl, z.walkL);
    ExpectSolid(wr, z.walkR);
    // A firing shooter is lifted by its size's offset; the firing frames
    // are that much taller so the feet stay on the ground, and as wide so
    // it does not jump.
    EXPECT_EQ(fire.h, wl.h + z.fireLift) << z.fire;
    EXPECT_EQ(fire.fw, wl.fw) << z.fire;
    ExpectStandsOnBottom(fire, z.fire);
    // Explosion at (x, y + 10): as wide as the walker to sit centred on it.
    EXPECT_EQ(expl.fw, wl.fw) << z.explode;
    EXPECT_LE(walkTop + 10 + expl.h, 600) << z.explode;
    ExpectShows(expl, z.explode, 1);
    ExpectShows(fire, z.fire);
    // Casings at (x, firing top + 90): they must land on screen and show.
    int fireTop = walkTop - z.fireLift;
    EXPECT_LE(casing.fw, 800) << z.casing;
    EXPECT_LE(fireTop + 90 + casing.h, 600) << z.casing;
    ExpectShows(casing, z.casing, 2);
    // Beam at (x - dx, y - dy): centred on the shooter and reaching down to
    // its feet.
    EXPECT_EQ(beam.fw, wl.fw + 2 * z.beamDx) << z.beam;
    EXPECT_GE(beam.h, z.beamDy + wl.h) << z.beam;
    ExpectShows(beam, z.beam);
}

TEST(ActorAssets, ShootersStandOnTheirGroundLines) {
    // Small ones on the walkers' ground line; big ones at y = 590 - height
    // of their walking-left strip.
    CheckShooter(kSmall, 333, kGroundRow);
    Bitmap wl = Load("shooterbigwl.bmp");
    ASSERT_TRUE(wl);
    CheckShooter(kBig, 590 - wl->h, 590);
}

TEST(ActorAssets, KillerRisesFromTheBottomEdgeAndExplodesInPlace) {
    LOAD_STRIP(rising, "killer_.bmp", 1);
    LOAD_STRIP(firing, "killer.bmp", 10);
    LOAD_STRIP(expl, "killerexpl.bmp", 18);
    LOAD_STRIP(casing, "huelsee1.bmp", 11);
    // Rises until its top is 600 - height of "killer_.bmp", then fires with
    // "killer.bmp" at the same place: same size, bottom on the last row.
    EXPECT_EQ(firing.fw, rising.fw);
    EXPECT_EQ(firing.h, rising.h);
    EXPECT_LT(rising.h, 600);
    ExpectStandsOnBottom(rising, "killer_.bmp");
    ExpectStandsOnBottom(firing, "killer.bmp");
    ExpectSolid(rising, "killer_.bmp");
    ExpectSolid(firing, "killer.bmp");
    // Centred in the view it must stand inside the damage window
    // 200 < x < 600, or it could never hurt the player.
    int centred = (800 - rising.fw) / 2;
    EXPECT_GT(centred, 200);
    // Exploding, it is drawn 50 pixels further left: 100 wider keeps the
    // burst centred on the tank.
    EXPECT_EQ(expl.fw, firing.fw + 100);
    ExpectShows(expl, "killerexpl.bmp", 1);
    ExpectShows(casing, "huelsee1.bmp", 2);
    // Casings at (x, y + 120) with the figure fully risen: still on screen.
    EXPECT_LE(600 - rising.h + 120 + casing.h, 600);
    EXPECT_LE(casing.fw, firing.fw);
}

TEST(ActorAssets, FlyersFitTheirFlightPaths) {
    LOAD_STRIP(ufo, "ufodreh.bmp", 4);
    LOAD_STRIP(plane, "flieger.bmp", 4);
    LOAD_STRIP(wreck, "flieger_.bmp", 4);
    ExpectSolid(ufo, "ufodreh.bmp");
    ExpectSolid(plane, "flieger.bmp");
    // The squad of five rises 115 pixels apart: saucers must not overlap.
    EXPECT_LE(ufo.fw, 115);
    // The castle saucer sits at row 158 on the castle's roof at row 186.
    EXPECT_LE(158 + ufo.h, 186);
    // A wreck keeps the plane's x and frame and is drawn 20 rows higher.
    EXPECT_EQ(wreck.fw, plane.fw);
    EXPECT_EQ(wreck.h, plane.h + 20);
    ExpectShows(wreck, "flieger_.bmp");
    // Flying at y 30, the plane and its wreck stay above the ground line.
    EXPECT_LT(30 + plane.h, 344);
}

TEST(ActorAssets, CarePackageCanBeShotOnlyInItsCrate) {
    LOAD_STRIP(care, "care.bmp", 9);
    ExpectShows(care, "care.bmp");
    const int crateTop = 77;
    ASSERT_GT(care.h, crateTop + 10);
    for (int k = 0; k < 9; ++k) {
        // Parachute above row 77, crate from row 77 down to the bottom.
        bool chute = false;
        for (int y = 0; y < crateTop; ++y)
            chute = chute || care.RowHasPixel(k, y);
        EXPECT_TRUE(chute) << "frame " << k << " has no parachute";
        for (int y = crateTop; y < care.h - 1; ++y)
            EXPECT_TRUE(care.RowHasPixel(k, y)) << "frame " << k << " row " << y;
        // The crate itself is solid: no hole below row 77 lets a shot by.
        EXPECT_EQ(Holes(care, k, crateTop), 0) << "frame " << k;
        EXPECT_FALSE(care.Masked(k, care.fw / 2, (crateTop + care.h) / 2)) << "frame " << k;
    }
}

TEST(ActorAssets, BubblesAreSolidAndBurstInTheirOwnFrame) {
    LOAD_STRIP(b0, "bubble0.bmp", 14);
    LOAD_STRIP(b1, "bubble1.bmp", 14);
    LOAD_STRIP(b2, "bubble2.bmp", 14);
    LOAD_STRIP(burst, "bubble3.bmp", 8);
    for (const Strip* s : {&b0, &b1, &b2}) {
        // The burst is drawn at the bubble's x with its own frame width.
        EXPECT_EQ(s->fw, burst.fw);
        EXPECT_EQ(s->h, b0.h);
        ExpectSolid(*s, "bubble");
        for (int k = 0; k < 14; ++k)
            EXPECT_FALSE(s->Masked(k, s->fw / 2, s->h / 2)) << "frame " << k;
    }
    // Frames 1..7 of the burst follow a hit; each shows something.
    ExpectShows(burst, "bubble3.bmp", 1);
}

}  // namespace

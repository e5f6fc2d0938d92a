// The built pictures, sounds, font and tune, read the way the game reads
// them: the strip layouts the game animates, the places it draws them, and
// what a player would see or hear go wrong.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/assets.h"

namespace {

// Walkers (top row 313) and small shooters (333) stand on the landed UFOs'
// ground line, row 410.
constexpr int kWalker = 410 - 313, kShooter = 410 - 333;

// Every horizontal strip the game animates: frames, frame width and height
// where the game relies on them (0: free), the first frame ever shown.
const struct {
    const char* name;
    int frames, frameW, frameH, firstShown;
} kStrips[] = {
    // clang-format off
    {"mpwalkl.bmp", 12, 0, kWalker, 0}, {"mpwalkr.bmp", 12, 0, kWalker, 0},
    {"mpschml.bmp", 12, 0, kWalker, 0}, {"mpschmr.bmp", 12, 0, kWalker, 0},
    {"fpwalkl.bmp", 12, 0, kWalker, 0}, {"fpwalkr.bmp", 12, 0, kWalker, 0},
    {"fpschml.bmp", 12, 0, kWalker, 0}, {"fpschmr.bmp", 12, 0, kWalker, 0},
    {"mpexp.bmp", 15, 0, 0, 1}, {"fpexp.bmp", 15, 0, 0, 1}, {"herz.bmp", 13, 0, 0, 0},
    {"shooterwalkl.bmp", 12, 0, kShooter, 0}, {"shooterwalkr.bmp", 12, 0, kShooter, 0},
    {"shootershoot.bmp", 10, 0, 0, 0}, {"ballexpl.bmp", 17, 0, 0, 1}, {"beam2.bmp", 7, 0, 0, 0},
    {"huelsee2.bmp", 11, 0, 0, 0}, {"shooterbigwl.bmp", 12, 0, 0, 0},
    {"shooterbigwr.bmp", 12, 0, 0, 0}, {"shooterbigshoot.bmp", 10, 0, 0, 0},
    {"ballbigexok.bmp", 17, 0, 0, 1}, {"beam3.bmp", 7, 0, 0, 0},
    {"shooterbighuelse.bmp", 11, 0, 0, 0}, {"killer_.bmp", 1, 0, 0, 0}, {"killer.bmp", 10, 0, 0, 0},
    {"killerexpl.bmp", 18, 0, 0, 1}, {"huelsee1.bmp", 11, 0, 0, 0}, {"ufodreh.bmp", 4, 0, 0, 0},
    {"flieger.bmp", 4, 0, 0, 0}, {"flieger_.bmp", 4, 0, 0, 0}, {"care.bmp", 9, 0, 0, 0},
    {"bubble0.bmp", 14, 0, 0, 0}, {"bubble1.bmp", 14, 0, 0, 0}, {"bubble2.bmp", 14, 0, 0, 0},
    {"bubble3.bmp", 8, 0, 0, 1}, {"luemmel256.bmp", 9, 0, 0, 0}, {"peace.bmp", 17, 0, 0, 0},
    {"bazooka.bmp", 1, 0, 0, 0}, {"mole_exp.bmp", 15, 0, 0, 0}, {"haufen256.bmp", 7, 0, 0, 0},
    {"sonne.bmp", 8, 220, 180, 0}, {"atomic.bmp", 10, 40, 40, 0}, {"digit.bmp", 10, 0, 0, 0},
    {"rauch0.bmp", 16, 0, 0, 0}, {"rauch1.bmp", 16, 0, 0, 0}, {"rauch_0.bmp", 16, 0, 0, 0},
    {"rauch_1.bmp", 16, 0, 0, 0},
    // clang-format on
};

}  // namespace

class Assets : public ::testing::Test {
  protected:
    BITMAP* Get(const std::string& name) {
        loaded_.push_back(Load(name));
        EXPECT_TRUE(loaded_.back()) << name << " is missing from data/gfx.dat";
        return loaded_.back().get();
    }
    int Width(const char* name, int frames) { return Get(name)->w / frames; }

  private:
    std::vector<Bitmap> loaded_;
};

TEST_F(Assets, StripsDivideIntoTheirFramesAndEveryShownFrameShows) {
    for (const auto& r : kStrips) {
        BITMAP* b = Get(r.name);
        ASSERT_TRUE(b);
        const int fw = b->w / r.frames;
        EXPECT_TRUE(b->w % r.frames == 0 && (!r.frameW || fw == r.frameW) &&
                    (!r.frameH || b->h == r.frameH))
            << r.name << " " << b->w << " x " << b->h;
        for (int k = r.firstShown; k < r.frames; ++k)
            EXPECT_TRUE(HasInk(b, k * fw, 0, fw, b->h)) << r.name << " frame " << k;
    }
    // Walking, cuddling and exploding share one width: the heart over a pair
    // and the explosion over a walker are placed by it.
    EXPECT_EQ(Width("mpwalkl.bmp", 12), Width("fpschmr.bmp", 12));
    EXPECT_EQ(Width("mpexp.bmp", 15), Width("fpwalkl.bmp", 12));
    // The smoke row takes the first smoke's height for all six columns; the
    // tower pictures are placed at steps of "turm0.bmp".
    for (const char* name : {"rauch1.bmp", "rauch_0.bmp", "rauch_1.bmp"})
        EXPECT_EQ(Get(name)->h, Get("rauch0.bmp")->h) << name;
    for (const char* name : {"turm1.bmp", "turm_0.bmp", "turm_1.bmp"})
        EXPECT_TRUE(Get(name)->w == Get("turm0.bmp")->w && Get(name)->h == Get("turm0.bmp")->h);
    // The smoke stands right on the segments (its bottom on their top row):
    // in every frame it reaches its bottom row over the segment's middle,
    // and each whole tower reaches its top row there.
    for (const char* name : {"rauch0.bmp", "rauch1.bmp", "rauch_0.bmp", "rauch_1.bmp"}) {
        BITMAP* b = Get(name);
        for (int k = 0, fw = b->w / 16; k < 16; ++k)
            EXPECT_TRUE(HasInk(b, k * fw + fw / 2 - 3, b->h - 1, 7, 1)) << name << " frame " << k;
    }
    for (const char* name : {"turm0.bmp", "turm1.bmp"})
        EXPECT_TRUE(HasInk(Get(name), Get(name)->w / 2 - 3, 0, 7, 1)) << name;
}

// The game plays "fpwalkl.bmp" from its last frame to its first: stored in
// the order of the right-hand strip, she would moonwalk.
TEST_F(Assets, FemaleLeftWalkIsStoredBackwards) {
    BITMAP* l = Get("fpwalkl.bmp");
    BITMAP* r = Get("fpwalkr.bmp");
    ASSERT_TRUE(l && r);
    const int fw = l->w / 12;
    // Pixels whose mask-ness differs between frame a of the left strip and
    // the mirror image of frame b of the right one.
    auto mismatch = [&](int a, int b) {
        int n = 0;
        for (int y = 0; y < l->h; ++y)
            for (int x = 0; x < fw; ++x)
                n += Masked(l, a * fw + x, y) != Masked(r, b * fw + fw - 1 - x, y);
        return n;
    };
    int reversed = 0, straight = 0;
    for (int k = 0; k < 12; ++k)
        reversed += mismatch(k, 11 - k), straight += mismatch(k, k);
    EXPECT_LT(reversed * 3, straight);
}

// A big shooter rises 20 rows to fire; the killer rises and fires in one
// frame size, centred inside the drain window; the rack frames sit on the
// intro's bazooka at x - 142 and on the game's at x + width / 2 - 172;
// a care package's crate fills its rows from 77 down under a parachute.
TEST_F(Assets, PicturesFitWhereTheGameDrawsThem) {
    BITMAP* care = Get("care.bmp");
    BITMAP* rise = Get("killer_.bmp");
    ASSERT_TRUE(care && rise);
    EXPECT_EQ(Get("shooterbigshoot.bmp")->h, Get("shooterbigwl.bmp")->h + 20);
    EXPECT_EQ(Width("shooterbigshoot.bmp", 10), Width("shooterbigwl.bmp", 12));
    EXPECT_TRUE(Width("killer.bmp", 10) == rise->w && Get("killer.bmp")->h == rise->h);
    EXPECT_TRUE((800 - rise->w) / 2 > 200 && (800 - rise->w) / 2 < 600);
    EXPECT_EQ(Get("bazooka.bmp")->w / 2 - 172, -142);
    const int cw = care->w / 9;
    for (int k = 0; k < 9; ++k) {
        EXPECT_TRUE(HasInk(care, k * cw, 0, cw, 77)) << "frame " << k << " has no parachute";
        for (int y = 77; y < care->h - 1; ++y)
            ASSERT_TRUE(HasInk(care, k * cw, y, cw, 1)) << "frame " << k << " row " << y;
    }
}

// A rising figure is cut at its base row; the grown mound, drawn over it,
// must hide that cut wherever the figure has ink, in every frame and at every
// height of the rise (the explosion: at the heights of the figures that
// turn into it).
TEST_F(Assets, MoundHidesTheCutOfEveryRisingFigure) {
    BITMAP* mound = Get("haufen256.bmp");
    BITMAP* lout = Get("luemmel256.bmp");
    BITMAP* baz = Get("bazooka.bmp");
    ASSERT_TRUE(mound && lout && baz);
    EXPECT_LE(450 + mound->h, 600);
    const int mw = mound->w / 7, hw = lout->w / 9 / 2;
    const struct {
        const char* name;
        int frames, offset, base;
    } figures[] = {{"luemmel256.bmp", 9, 46, 466},
                   {"peace.bmp", 17, 26, 460},
                   {"bazooka.bmp", 1, 41, 461},
                   {"mole_exp.bmp", 15, 36, 461}};
    for (const auto& f : figures) {
        BITMAP* b = Get(f.name);
        ASSERT_TRUE(b);
        const int fw = b->w / f.frames, last = f.frames == 15 ? 2 : b->h;
        int misses = 0;
        for (int k = 0; k < f.frames; ++k)
            for (int i = 0; i < last; ++i) {
                int r = f.frames == 15 ? (i ? baz->h : lout->h) : i + 1;  // rows risen
                for (int x = 0; x < fw; ++x) {
                    int mx = f.offset - hw + x;  // column in the mound frame
                    misses +=
                        HasInk(b, k * fw + x, std::min(r, b->h) - 1, 1, 1) &&
                        (mx < 0 || mx >= mw || !HasInk(mound, 6 * mw + mx, f.base - 451, 1, 1));
                }
            }
        EXPECT_EQ(misses, 0) << f.name;
    }
}

// Five score digits from x 87 leftwards stay on screen above the seconds
// at row 75; life sits on its panel; pop-up strips hold one frame per entry
// (35 rows x 9, 36 rows x 7); shells stack 16 rows apart in frames 106
// wide, at rest drawn at x 700.
TEST_F(Assets, CountersPopupsAndShellsFitTheirRows) {
    BITMAP* d = Get("digit.bmp");
    BITMAP* panel = Get("life.bmp");
    BITMAP* shells = Get("shells.bmp");
    ASSERT_TRUE(d && panel && shells);
    EXPECT_TRUE(87 - 4 * (d->w / 10) >= 0 && d->h <= 75 - 50);
    EXPECT_TRUE(20 + panel->w >= 56 + d->w / 10 && 520 + panel->h >= 535 + d->h);
    for (auto [name, frameH, frames] : {std::tuple{"score.bmp", 35, 9}, {"bonus.bmp", 36, 7}}) {
        BITMAP* b = Get(name);
        ASSERT_TRUE(b);
        EXPECT_EQ(b->h, frameH * frames) << name;
        for (int k = 0; k < frames; ++k)
            EXPECT_TRUE(HasInk(b, 0, k * frameH, b->w, frameH) &&
                        !HasInk(b, 0, k * frameH, b->w, 1))
                << name << " frame " << k;
    }
    EXPECT_TRUE(shells->w % 106 == 0 && shells->w / 106 >= 10 && shells->h <= 16);
    EXPECT_TRUE(HasInk(shells, 0, 0, 100, shells->h));
}

// The pointer's hot spot (40, 36) is the middle of the cursor; pictures
// copied opaque have no mask pixels; the menu panel sits at x 90 where the
// pointer zone starts, its highlight tiles opaque and plain to see; the
// score board is opaque behind the ten rows.
TEST_F(Assets, FrontEndPicturesFitTheScreensThatShowThem) {
    BITMAP* cursor = Get("cursor.bmp");
    ASSERT_TRUE(cursor);
    EXPECT_TRUE(cursor->w == 81 && cursor->h == 73 && !Masked(cursor, 40, 36));
    EXPECT_TRUE(Get("tlebg.bmp")->w == 800 && Get("tlebg.bmp")->h == 600);
    EXPECT_TRUE(Get("sky.bmp")->w == 800 && Get("sky.bmp")->h == 168);
    auto holes = [](BITMAP* b, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += Masked(b, x, y);
        return n;
    };
    for (const char* name : {"tlebg.bmp", "sky.bmp", "titel.bmp"})
        EXPECT_EQ(holes(Get(name), 0, 0, Get(name)->w, Get(name)->h), 0) << name;
    BITMAP* plain = Get("panel00.bmp");
    BITMAP* lit = Get("panel00_sel.bmp");
    ASSERT_TRUE(plain && lit && plain->w == lit->w && plain->h >= 90 + 40 * 7);
    EXPECT_EQ((800 - plain->w) / 2, 90);
    EXPECT_EQ(holes(lit, 90, 90, 210, 90 + 40 * 7), 0) << "the highlight tiles are copied opaque";
    EXPECT_EQ(holes(Get("highscre.bmp"), 30, 125, 270, 125 + 18 * 9 + 16), 0);
}

// --- the tune ---

// The intro seeks to beat 4, starts its finale past beat 65 and ends when
// the tune stops; without a synthesizer the tune plays from patches.dat, so
// every program and drum it uses must be in the set.
TEST(AudioAssets, TuneOutlastsTheIntroAndThePatchSetCoversIt) {
    StartAllegro16();
    MIDI* midi = load_midi("data/cm.m");
    ASSERT_NE(midi, nullptr);
    destroy_midi(midi);
    std::ifstream csv(std::string(FLUFF_SOURCE_DIR) + "/assets/music/cm.csv");
    long division = 0, endTick = 0, lastNote = 0;
    std::set<int> programs, drums, havePrograms, haveDrums;
    for (std::string line; std::getline(csv, line);) {
        std::replace(line.begin(), line.end(), ',', ' ');
        std::istringstream f(line);
        long track, tick, a = 0, b = 0, c = 0;
        std::string event;
        f >> track >> tick >> event >> a >> b >> c;
        division = event == "Header" ? c : division;
        endTick = event == "End_track" ? std::max(endTick, tick) : endTick;
        if (event == "Program_c")
            programs.insert(int(b));
        if (event == "Note_on_c" && c > 0) {
            if (a == 9)
                drums.insert(int(b));
            lastNote = std::max(lastNote, tick);
        }
    }
    ASSERT_GT(division, 0);
    EXPECT_TRUE(endTick >= 72 * division && endTick <= 84 * division) << double(endTick) / division;
    EXPECT_GT(lastNote, 70 * division) << "silence under the finale";
    DATAFILE* list = load_datafile_object("data/patches.dat", "default_cfg");
    ASSERT_NE(list, nullptr);
    std::istringstream text(std::string(static_cast<const char*>(list->dat), size_t(list->size)));
    bool inDrums = false;
    for (std::string line; std::getline(text, line);) {
        std::istringstream words(line);
        std::string first, second;
        words >> first >> second;
        if (second == "begin_multipatch" || first == "end_multipatch")
            inDrums = second == "begin_multipatch";
        else if (!first.empty() && std::isdigit(static_cast<unsigned char>(first[0])))
            (inDrums ? haveDrums : havePrograms).insert(std::stoi(first) - (inDrums ? 0 : 1));
    }
    unload_datafile_object(list);
    EXPECT_EQ(havePrograms, programs);
    EXPECT_TRUE(std::includes(haveDrums.begin(), haveDrums.end(), drums.begin(), drums.end()));
}

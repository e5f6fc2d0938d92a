// Shared set-up for tests that run game code headless, and the few ways the
// tests read a picture back.
#pragma once

#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screens/highscores.h"
#include "support/headless.h"

// Starts a fresh headless platform for each test and gives the spine's
// buffers and a font, so a screen can run without the datafiles. Tests that
// want the real assets call InitSystem or RunProgram themselves.
class HeadlessTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A solid bitmap of one colour (makecol), for synthetic pictures.
    static BITMAP* Solid(int w, int h, int colour);
    // Bitmaps made by the test and destroyed after it.
    BITMAP* Own(BITMAP* bmp) {
        owned_.push_back(bmp);
        return bmp;
    }

    HeadlessPlatform* hp = nullptr;

  private:
    std::vector<BITMAP*> owned_;
};

// True when the build's data folder holds the packed assets.
bool HaveRealData();
// build/test-output/NAME, for what a failing test leaves behind.
std::string OutPath(const std::string& name);

// Whether every pixel of `text`, drawn with `f` and the alignment at (x, y),
// shows `colour` on `shown`: the place and the wording of a text.
bool ShowsText(BITMAP* shown, FONT* f, const std::string& text, TextAlign align, int x, int y,
               int colour);
// Whether every pixel of the w x h piece of `pic` at (sx, sy) that is not
// the mask colour, and lands on `shown` when the piece is put at (x, y),
// shows there unchanged (at least one must land).
bool Shows(BITMAP* shown, BITMAP* pic, int sx, int sy, int w, int h, int x, int y);

// Synthetic strips: frame k of strip `tag` is one solid colour, never the
// mask (for k < 20 and tag < 8), so a test can read back which frame of
// which strip was drawn where.
int FrameColour(int tag, int k);
BITMAP* Strip(int tag, int frames, int frameW, int h);
// The frame of strip `tag` at (x, y) of bmp, or -1.
int FrameAt(BITMAP* bmp, int tag, int x, int y);

// Play (true) and stop (false) events of one sample in the sound log.
std::vector<bool> SoundsOf(const HeadlessPlatform* hp, SAMPLE* s);
// The first `n` numbers the generator gives from `seed`; leaves it seeded
// with `seed` again, so the code under test draws the same numbers.
std::vector<int> Draws(uint32_t seed, int n);

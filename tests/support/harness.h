// Shared set-up for tests that run game code headless.
#pragma once

#include <allegro.h>
#include <gtest/gtest.h>

#include <string>

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
    // Where a test may write pictures for a person to look at.
    static std::string OutPath(const std::string& name);

    HeadlessPlatform* hp = nullptr;

  private:
    std::vector<BITMAP*> owned_;

  protected:
    // Bitmaps made by the test and destroyed after it.
    BITMAP* Own(BITMAP* bmp) {
        owned_.push_back(bmp);
        return bmp;
    }
};

// True when the build's data folder holds the packed assets.
bool HaveRealData();

// The intro film: a text crawl over stars, a rising UFO and the bazooka
// finale, keyed to the beat of the intro tune.
#pragma once

#include <allegro.h>

// The crawl, one entry per line or tag, ended by a null pointer.
extern const char* const introText[];

// The state the tags set: text colour 0 or 1, centred or left-aligned.
struct IntroTextStyle {
    int colour = 0;
    bool centred = true;
};

// A line starting with '<' is a tag; only its second character counts.
bool IsIntroTag(const char* line);
void ApplyIntroTag(const char* tag, IntroTextStyle& style);

// The bazooka picture, shared with the mole holes of the game.
extern BITMAP* bazookaImage;
BITMAP* LoadBazookaImage();

void PlayIntro();

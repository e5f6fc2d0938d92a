// The credits and story pages: one picture each over the backdrop.
#pragma once

#include <allegro.h>

extern BITMAP* creditsImage;
extern BITMAP* storyImage;

// The title picture and the seven-row menu between all other screens.
#pragma once

#include <allegro.h>

// What the menu returns, and what main runs for it.
enum MenuChoice {
    kMenuPlay = 0,    // a game, then the high score entry
    kMenuStory1 = 1,  // rows 1 to 3 all open the story page
    kMenuStory2 = 2,
    kMenuStory3 = 3,
    kMenuCredits = 4,
    kMenuHighScores = 5,
    kMenuQuit = 6,
};

constexpr int kMenuRows = 7;
constexpr const char* kVersionLine = "Fluffernauts v1.0 rc2";

extern BITMAP* titleImage;
extern BITMAP* panelImage;
extern BITMAP* panelSelImage;

// firstCall is 1 only for the first call of a run: the title picture is
// shown alone until the first input after 2.5 seconds.
int TitleMenu(int firstCall);
void DestroyTitleMenuImages();

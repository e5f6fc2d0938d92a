#include "screens/pages.h"

#include "app/data/loader.h"
#include "app/platform/platform.h"
#include "app/system.h"
#include "screens/screens.h"

BITMAP* creditsImage = nullptr;
BITMAP* storyImage = nullptr;

namespace {

// The backdrop with the picture centred on it; the picture's text is its own.
void DrawPage(BITMAP* picture) {
    platform->ShowMouse(nullptr);
    clear_bitmap(backBuffer);
    blit(backdrop, backBuffer, 0, 0, 0, 0, kScreenW, kScreenH);
    masked_blit(picture, backBuffer, 0, 0, (kScreenW - picture->w) / 2, (kScreenH - picture->h) / 2,
                picture->w, picture->h);
}

}  // namespace

void ShowCredits() {
    if (!creditsImage)
        creditsImage = LoadImage("credits.bmp");
    DrawPage(creditsImage);
    platform->ShowMouse(backBuffer);
    WaitForClickOrKey();
}

void ShowStory() {
    if (!storyImage)
        storyImage = LoadImage("news.bmp");
    DrawPage(storyImage);
    // No pointer on this page.
    PresentFrame();
    WaitForClickOrKey();
}

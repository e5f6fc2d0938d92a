#include "app/system.h"
#include "screens/screens.h"

void ShowStory() {
    blit(backdrop, backBuffer, 0, 0, 0, 0, kScreenW, kScreenH);
    PresentFrame();
}

void ShowCredits() {
    blit(backdrop, backBuffer, 0, 0, 0, 0, kScreenW, kScreenH);
    PresentFrame();
}

#include "app/system.h"
#include "screens/screens.h"

void EnterHighScore() {
    blit(backdrop, backBuffer, 0, 0, 0, 0, kScreenW, kScreenH);
    PresentFrame();
}

void ShowHighScores() {
    blit(backdrop, backBuffer, 0, 0, 0, 0, kScreenW, kScreenH);
    PresentFrame();
}

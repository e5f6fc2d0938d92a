// Screens not built yet: each shows one frame of the backdrop and returns
// to the menu.
#include "app/system.h"
#include "screens/screens.h"

static void ShowPlaceholderFrame() {
    blit(backdrop, backBuffer, 0, 0, 0, 0, kScreenW, kScreenH);
    PresentFrame();
}

int RunGame() {
    ShowPlaceholderFrame();
    return 0;
}

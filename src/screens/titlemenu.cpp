#include "screens/titlemenu.h"

#include "app/data/loader.h"
#include "app/platform/platform.h"
#include "app/system.h"
#include "screens/screens.h"

BITMAP* titleImage = nullptr;
BITMAP* panelImage = nullptr;
BITMAP* panelSelImage = nullptr;

namespace {

// Row r of the panel spans x 90..209 and y 90 + 40r .. 129 + 40r.
constexpr int kRowLeft = 90;
constexpr int kRowTop = 90;
constexpr int kRowWidth = 120;
constexpr int kRowHeight = 40;
// The title stays alone for this many ticks on the first call.
constexpr int kTitleTicks = 250;

// What a frame of the menu shows; while it stays the same, so does the frame.
struct MenuLook {
    int selection, panelShown, versionShown, pointerX, pointerY;
    bool operator==(const MenuLook& o) const {
        return selection == o.selection && panelShown == o.panelShown &&
               versionShown == o.versionShown && pointerX == o.pointerX && pointerY == o.pointerY;
    }
};

// No frame the menu could draw: the next one is drawn whole.
constexpr MenuLook kNothingShown = {-1, -1, -1, -1, -1};

struct Menu {
    int selection = 0;
    bool panelShown = false;
    bool running = true;
    int lastX = 0;
    int lastY = 0;
    int zoneLeft = kRowLeft;
    MenuLook shown = kNothingShown;  // the last frame drawn in the loop
};

int PanelX() {
    return (kScreenW - panelImage->w) / 2;
}
int PanelY() {
    return (kScreenH - panelImage->h) / 2;
}

// The zone stays in screen coordinates: it does not follow the panel.
bool PointerInZone(const Menu& m) {
    return m.zoneLeft <= mouse_x && mouse_x <= m.zoneLeft + panelImage->w && mouse_y != 0;
}

// The backdrop with the panel over it never changes while the menu waits,
// so it is composed once per call; a frame is then one copy and the
// highlight.
BITMAP* panelBackground = nullptr;

void ComposePanelBackground() {
    if (!panelBackground) {
        panelBackground = create_bitmap(kScreenW, kScreenH);
    }
    blit(backdrop, panelBackground, 0, 0, 0, 0, kScreenW, kScreenH);
    masked_blit(panelImage, panelBackground, 0, 0, PanelX(), PanelY(), panelImage->w,
                panelImage->h);
}

void DrawPanel(const Menu& m) {
    blit(panelBackground, backBuffer, 0, 0, 0, 0, kScreenW, kScreenH);
    int px = PanelX();
    int py = PanelY();
    int rowY = kRowTop + kRowHeight * m.selection;
    blit(panelSelImage, backBuffer, kRowLeft, rowY, px + kRowLeft, py + rowY, kRowWidth,
         kRowHeight);
}

void DrawTitle() {
    blit(titleImage, backBuffer, 0, 0, (kScreenW - titleImage->w) / 2,
         (kScreenH - titleImage->h) / 2, titleImage->w, titleImage->h);
}

void DrawVersionLine() {
    int grey = makecol(175, 175, 175);
    textprintf_ex(backBuffer, gameFont, 0, 8, grey, -1, "%s", kVersionLine);
    textprintf_ex(backBuffer, gameFont, 1, 8, grey, -1, "%s", kVersionLine);
    textprintf_ex(backBuffer, gameFont, 1, 9, makecol(255, 255, 255), -1, "%s", kVersionLine);
}

void DrawFrame(Menu& m) {
    MenuLook look = {m.selection, m.panelShown, key[KEY_V] != 0, mouse_x, mouse_y};
    if (look == m.shown) {
        // Waiting in the menu draws nothing: the screen shows this already.
        PresentSameFrame();
        return;
    }
    m.shown = look;
    platform->ShowMouse(nullptr);
    // The panel's backdrop covers the whole title.
    if (m.panelShown) {
        DrawPanel(m);
    } else {
        DrawTitle();
    }
    if (key[KEY_V]) {
        DrawVersionLine();
    }
    platform->ShowMouse(backBuffer);
    PresentFrame();
}

void HandleKey(Menu& m) {
    int k = platform->ReadKey();
    platform->ClearKeybuf();
    if (!m.panelShown) {
        // Before the panel is up a key only reveals it, and only late enough.
        if (tickCount > kTitleTicks) {
            m.panelShown = true;
        }
        return;
    }
    switch (k >> 8) {
        case KEY_UP:
            m.selection = m.selection == 0 ? kMenuRows - 1 : m.selection - 1;
            break;
        case KEY_DOWN:
            m.selection = m.selection == kMenuRows - 1 ? 0 : m.selection + 1;
            break;
        case KEY_ENTER:
            m.running = false;
            break;
        case KEY_F9:
            // The hidden film: F9 followed by J. Whatever follows F9 is used up.
            if ((platform->ReadKey() >> 8) == KEY_J) {
                PlayIntro();
                // The film drew over the screen: what the menu showed is gone.
                m.shown = kNothingShown;
            }
            break;
        default:
            break;
    }
}

void LoadImages() {
    if (!panelImage)
        panelImage = LoadImage("panel00.bmp");
    if (!panelSelImage)
        panelSelImage = LoadImage("panel00_sel.bmp");
}

}  // namespace

int TitleMenu(int firstCall) {
    if (!titleImage) {
        titleImage = LoadImage("titel.bmp");
    }
    Menu m;
    m.panelShown = firstCall == 0;
    m.lastX = mouse_x;
    m.lastY = mouse_y;

    platform->ShowMouse(nullptr);
    rectfill(backBuffer, 0, 0, kScreenW, kScreenH, 0);
    DrawTitle();
    tickCount = 0;
    if (m.panelShown) {
        LoadImages();
        LoadSharedAssets();
        ComposePanelBackground();
        DrawPanel(m);
    }
    platform->ShowMouse(backBuffer);
    PresentFrame();
    // The rest loads while the player already looks at the title.
    if (!m.panelShown) {
        LoadImages();
        LoadSharedAssets();
        ComposePanelBackground();
    }
    platform->ClearKeybuf();

    while (m.running) {
        if (QuitRequested()) {
            return kMenuQuit;
        }
        // One pass per tick: waiting in the menu must not heat the machine.
        WaitForTick();
        platform->PollMouse();
        if (platform->KeyPressed()) {
            HandleKey(m);
        }
        if (mouse_x != m.lastX || mouse_y != m.lastY) {
            if (!m.panelShown && tickCount > kTitleTicks) {
                m.panelShown = true;
            }
            m.lastX = mouse_x;
            m.lastY = mouse_y;
            if (PointerInZone(m)) {
                int row = (mouse_y - kRowTop - PanelY()) / kRowHeight;
                m.selection = row < 0 ? 0 : (row > kMenuRows - 1 ? kMenuRows - 1 : row);
            }
        }
        if (PointerInZone(m) && (mouse_b & 1)) {
            if (m.panelShown) {
                m.running = false;
            } else if (tickCount > kTitleTicks) {
                m.panelShown = true;
            }
        }
        DrawFrame(m);
    }
    return m.selection;
}

void DestroyTitleMenuImages() {
    BITMAP** images[] = {&titleImage, &panelImage, &panelSelImage, &panelBackground};
    for (BITMAP** img : images) {
        if (*img) {
            destroy_bitmap(*img);
            *img = nullptr;
        }
    }
}

// main's body: everything between choosing the platform and exiting.
#include "app/data/loader.h"
#include "app/platform/platform.h"
#include "app/system.h"
#include "screens/screens.h"
#include "screens/titlemenu.h"

void LoadGameFont() {
    if (!fontData) {
        fontData = LoadDatafile(kFontFile);
        if (fontData[0].type != DAT_FONT) {
            FatalLoad(kFontFile, "the font (its first object)");
        }
        gameFont = static_cast<FONT*>(fontData[0].dat);
    }
}

void LoadSharedAssets() {
    if (!gameFont) {
        LoadGameFont();
    }
    if (!backdrop) {
        backdrop = LoadImage("tlebg.bmp");
    }
    if (!hitSound) {
        hitSound = LoadSample("hit.wav");
    }
}

void UnloadSharedAssets() {
    if (fontData) {
        unload_datafile(fontData);
    }
    fontData = nullptr;
    gameFont = nullptr;
}

int RunProgram() {
    InitSystem();
    LoadGameFont();
    // The title comes up next; the menu loads the rest behind it.
    int choice = TitleMenu(1);
    while (choice != kMenuQuit && !QuitRequested()) {
        switch (choice) {
            case kMenuPlay:
                if (RunGame()) {
                    EnterHighScore();
                }
                break;
            case kMenuStory1:
            case kMenuStory2:
            case kMenuStory3:
                ShowStory();
                break;
            case kMenuCredits:
                ShowCredits();
                break;
            case kMenuHighScores:
                ShowHighScores();
                break;
        }
        choice = QuitRequested() ? kMenuQuit : TitleMenu(0);
    }
    // The screens release their own pictures; the spine knows nothing of them.
    DestroyTitleMenuImages();
    UnloadSharedAssets();
    ShutdownSystem();
    return QuitStatus();
}

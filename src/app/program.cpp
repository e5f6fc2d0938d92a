// main's body: everything between choosing the platform and exiting, for a
// visit and for a recording watched or timed.
#include <cstdio>

#include "app/data/loader.h"
#include "app/platform/platform.h"
#include "app/platform/playback.h"
#include "app/system.h"
#include "game/replay.h"
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

namespace {

int Play(const std::string& path, Platform* real, PlaybackPace pace) {
    Replay replay;
    std::string error;
    if (!ReadReplay(path, replay, error)) {
        std::fprintf(stderr, "Fluffernauts: cannot play the recording \"%s\": %s\n", path.c_str(),
                     error.c_str());
        return 2;
    }
    PlaybackPlatform demo(real, replay, pace);
    platform = &demo;
    InitSystem();
    LoadGameFont();
    LoadSharedAssets();
    int result = RunGame();
    if (pace == PlaybackPace::kFast && !demo.stopped()) {
        double s = demo.seconds();
        std::printf("Timedemo: %d frames in %.2f s, %.1f frames per second\n%s", demo.frames(), s,
                    s > 0 ? demo.frames() / s : 0.0, GameSummary(result).c_str());
        std::fflush(stdout);
    }
    UnloadSharedAssets();
    ShutdownSystem();
    platform = real;
    if (!demo.divergence().empty()) {
        std::fprintf(stderr, "Fluffernauts: the recording \"%s\" does not play back here: %s\n",
                     path.c_str(), demo.divergence().c_str());
        return 2;
    }
    quitRequest = demo.machineQuit();
    return QuitStatus();
}

}  // namespace

int RunTimedemo(const std::string& path, Platform* real) {
    return Play(path, real, PlaybackPace::kFast);
}

int RunPlaydemo(const std::string& path, Platform* real) {
    return Play(path, real, PlaybackPace::kReal);
}

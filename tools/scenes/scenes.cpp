// Pictures of the game for people to look at, taken through the headless
// platform with the real data: the README's screenshots (half size, in
// OUTDIR/readme) and a review shot of every screen and family. Nothing here
// checks anything; the tests do that.
//   scene_pictures OUTDIR    (from the build folder, beside data/)
#include <allegro.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "actors/bubbles.h"
#include "actors/flyers.h"
#include "actors/shooters.h"
#include "actors/walkers.h"
#include "app/data/loader.h"
#include "app/random.h"
#include "app/settings.h"
#include "app/system.h"
#include "game/game.h"
#include "game/gamestate.h"
#include "png.h"
#include "screens/intro.h"
#include "screens/screens.h"
#include "screens/titlemenu.h"
#include "support/headless.h"
#include "world/killer.h"
#include "world/moleholes.h"
#include "world/scenery.h"
#include "world/score.h"

namespace {

std::string outDir = "scenes";

// The bitmap, 5-6-5 widened to 8 bits a channel, through the art's PNG writer.
void Save(BITMAP* bmp, const std::string& name) {
    art::Canvas c(bmp->w, bmp->h);
    for (int y = 0; y < bmp->h; ++y)
        for (int x = 0; x < bmp->w; ++x) {
            int p = getpixel(bmp, x, y);
            c.Set(x, y, art::Colour(getr16(p) << 16 | getg16(p) << 8 | getb16(p)));
        }
    if (!art::WritePng(c, outDir + "/" + name + ".png"))
        std::fprintf(stderr, "could not write %s/%s.png\n", outDir.c_str(), name.c_str());
}

// A README screenshot: the picture at half size.
void SaveForReadme(BITMAP* bmp, const std::string& name) {
    BITMAP* half = create_bitmap(kScreenW / 2, kScreenH / 2);
    stretch_blit(bmp, half, 0, 0, kScreenW, kScreenH, 0, 0, half->w, half->h);
    Save(half, "readme/" + name);
    destroy_bitmap(half);
}

// A fresh machine with the spine's buffers, as the tests start one.
HeadlessPlatform* Fresh() {
    HeadlessPlatform* hp = StartHeadless();
    MakeSpineBuffers();
    return hp;
}

// The program from its start: the title alone, the menu, then the high
// score table, the credits and the story, each chosen from the menu.
void FrontEnd() {
    HeadlessPlatform* hp = Fresh();
    hp->MouseAt(0, 760, 520);  // beside the panel: no row under it
    hp->PressKey(300, KEY_SPACE, ' ');
    int row = 0;
    auto choose = [&](int frame, int target) {
        for (; row != target; row = (row + 1) % 7)
            hp->PressKey(frame++, KEY_DOWN);
        hp->PressKey(frame, KEY_ENTER, '\r');
    };
    choose(320, 5);  // the table
    hp->PressKey(350, KEY_SPACE, ' ');
    row = 0;
    choose(360, 4);  // the credits
    hp->PressKey(400, KEY_SPACE, ' ');
    row = 0;
    choose(410, 1);  // the story
    hp->PressKey(440, KEY_SPACE, ' ');
    hp->PressKey(450, KEY_UP);
    hp->PressKey(452, KEY_ENTER, '\r');
    hp->onFrame = [hp](int f) {
        if (f == 200) {
            Save(hp->display(), "title");
            SaveForReadme(hp->display(), "title");
        }
        if (f == 315) {
            Save(hp->display(), "menu");
            SaveForReadme(hp->display(), "menu");
        }
        if (f == 325)
            Save(hp->display(), "menu_high_scores");
        if (f == 340)
            Save(hp->display(), "highscores_table");
        if (f == 390)
            Save(hp->display(), "credits_page");
        if (f == 430)
            Save(hp->display(), "story_page");
    };
    RunProgram();
    backBuffer = nullptr;  // ShutdownSystem destroyed it
}

// The intro as the tune plays it, then its finale from beat 66 on.
void Intro() {
    gameFont = font;
    HeadlessPlatform* hp = Fresh();
    hp->midiBpm = 100;
    hp->onFrame = [hp](int f) {
        if (f == 150)
            Save(hp->display(), "intro_crawl");
        if (f == 250) {
            Save(hp->display(), "intro_ufo");
            SaveForReadme(hp->display(), "intro");
        }
    };
    hp->PressKey(260, KEY_ESC);
    PlayIntro();
    hp = Fresh();
    const int h = LoadBazookaImage()->h;
    hp->midiPosOverride = [hp] { return hp->frame() < 10 ? 20 : 66; };
    hp->onFrame = [hp, h](int f) {
        if (f == 10 + h + 8)
            Save(hp->display(), "intro_rack");
        if (f == 10 + h + 17)
            Save(hp->display(), "intro_flash");
    };
    PlayIntro();
}

// A piece of a picture, enlarged `times` without smoothing.
void SaveZoomed(BITMAP* bmp, int x, int y, int w, int h, int times, const std::string& name) {
    BITMAP* big = create_bitmap(w * times, h * times);
    stretch_blit(bmp, big, x, y, w, h, 0, 0, big->w, big->h);
    Save(big, name);
    destroy_bitmap(big);
}

// The game's own font, pointer and backdrop, for scenes that run a screen.
void LoadFrontAssets(HeadlessPlatform* hp) {
    if (!fontData)
        fontData = LoadDatafile(kFontFile);
    gameFont = static_cast<FONT*>(fontData[0].dat);
    if (!backdrop)
        backdrop = LoadImage("tlebg.bmp");
    if (!cursorImage)
        cursorImage = LoadImage("cursor.bmp");
    hp->SetMouseSprite(cursorImage, 40, 36);
}

// The menu comes back whole after the intro that F9, J plays in it.
void MenuAfterIntro() {
    HeadlessPlatform* hp = Fresh();
    LoadFrontAssets(hp);
    hp->MouseAt(0, 760, 520);
    hp->PressKey(2, KEY_F9);
    hp->PressKey(3, KEY_J, 'j');
    hp->PressKey(120, KEY_ESC);  // ends the film; the menu ignores it
    hp->PressKey(130, KEY_ENTER, '\r');
    hp->onFrame = [hp](int f) {
        if (f == 118)
            Save(hp->display(), "intro_before_menu");
        if (f == 125)
            Save(hp->display(), "menu_after_intro");
    };
    TitleMenu(0);
}

// Plays a game from `seed` with the input `script` gives; `hook` sees every
// presented frame and ends the game by returning true.
void PlayScene(long seed, std::function<bool(HeadlessPlatform*, int)> hook,
               std::function<void(HeadlessPlatform*)> script = nullptr) {
    HeadlessPlatform* hp = Fresh();
    LoadFrontAssets(hp);
    hp->seedTime = seed;
    hp->MouseAt(0, 620, 70);  // in the sky, clear of the scrolling edges
    if (script)
        script(hp);
    hp->onFrame = [hp, hook](int f) { key[KEY_ESC] = hook(hp, f); };
    RunGame();
    key[KEY_ESC] = 0;
}

// The view that centres both tower strips, and whether they fit in it with
// nothing of the foreground (a tree) in front of them.
int TowersCamera() {
    int span = game.towerStripX[1] + towerStrip[1]->w - game.towerStripX[0];
    int ct = game.towerStripX[0] - (kScreenW - span) / 2;
    return std::min(std::max(ct * 3 / 2, 0), kCameraMax);
}
bool TowersInClearView(int camera) {
    for (int s = 0; s < 2; ++s) {
        int sx = game.towerStripX[s] - 2 * camera / 3;
        if (sx < 0 || sx + towerStrip[s]->w > kScreenW)
            return false;
        for (int y = 190 - 160; y < 300 - 160; ++y)  // the smoke and the towers' rows
            for (int x = sx; x < sx + towerStrip[s]->w; ++x)
                if (getpixel(foregroundLayer, x + camera, y) != bitmap_mask_color(foregroundLayer))
                    return false;
    }
    return true;
}

// Both tower strips in one view, their six columns of smoke rising out of
// the towers' tops: a layout whose strips lie close together in plain view.
void Towers() {
    long seed = 1;
    for (bool found = false; !found; ++seed) {
        Fresh()->seedTime = seed;
        SetUpGame();
        found = TowersInClearView(TowersCamera());
        escaped = 1;
        EndGame();
    }
    PlayScene(seed - 1, [](HeadlessPlatform* hp, int f) {
        if (f == 2)
            cameraX = TowersCamera();
        if (f == 6) {
            Save(hp->display(), "towers");
            int left = game.towerStripX[0] - 2 * cameraX / 3 - 20;
            int w = game.towerStripX[1] + towerStrip[1]->w - game.towerStripX[0] + 40;
            SaveZoomed(hp->display(), std::max(left, 0), 180, std::min(w, kScreenW), 130, 3,
                       "towers_zoom");
        }
        return f >= 7;
    });
}

// A game paused with P: the note over the frozen scene, the pointer on it;
// then the window goes to the background for a moment.
void Paused() {
    PlayScene(
        4242,
        [](HeadlessPlatform* hp, int f) {
            if (f == 15)
                Save(hp->display(), "paused");
            windowFocused = f < 16 || f >= 19;  // away: the note's other hint
            if (f == 18)
                Save(hp->display(), "paused_away");
            return f >= 25;
        },
        [](HeadlessPlatform* hp) {
            hp->HoldKey(10, KEY_P);
            hp->HoldKey(11, KEY_P, false);
            hp->MouseAt(12, 540, 250);
            hp->HoldKey(20, KEY_P);
            hp->HoldKey(21, KEY_P, false);
        });
}

// The counters over each of the sun's eight frames, with other digits in
// each: one row at 1x, and the same enlarged twice.
void CounterOnSun() {
    const int w = 180, h = 160;
    BITMAP* row = create_bitmap(8 * w, h);
    PlayScene(4242, [row](HeadlessPlatform* hp, int f) {
        if (f >= 3 && f < 11) {
            int k = f - 3;
            // 10 s, 23 s, ... 87 s: every digit in the tens and the units.
            timeLeft = (10 + 11 * k) * 100 + 50;
            score = 12345 * (k + 1) % 100000;
        }
        if (f >= 4 && f < 12)
            blit(hp->display(), row, 0, 0, (f - 4) * w, 0, w, h);
        return f >= 12;
    });
    Save(row, "counter_sun");
    SaveZoomed(row, 0, 0, row->w, h, 2, "counter_sun_2x");
    destroy_bitmap(row);
}

// Life drains with fewer flashes asked for: the steady red frame round the
// picture instead of the yellow flash.
void CalmWarning() {
    settings.reduceFlashing = true;
    PlayScene(4242, [](HeadlessPlatform* hp, int f) {
        if (f == 5) {
            ShowKiller(killer);
            killer->state = kKillerFiring;
            killer->y = 300;
            killer->fireTimer = 1000;
        }
        if (f == 20)
            Save(hp->display(), "warning_frame");
        return f >= 21;
    });
    settings.reduceFlashing = false;
}

// A game: a frame of it, then its end by time with the game-over picture
// and the statistics.
void AGame() {
    HeadlessPlatform* hp = Fresh();
    fontData = LoadDatafile(kFontFile);
    gameFont = static_cast<FONT*>(fontData[0].dat);
    backdrop = LoadImage("tlebg.bmp");
    hp->seedTime = 4242;
    hp->MouseAt(0, 400, 300);
    hp->PressKey(80, KEY_SPACE, ' ');   // ends the game-over picture
    hp->PressKey(120, KEY_SPACE, ' ');  // ends the statistics
    hp->onFrame = [hp](int f) {
        if (f == 20)
            Save(hp->display(), "game_frame");
        if (f == 30)
            timeLeft = 0;
        if (f == 70)
            Save(hp->display(), "game_over");
        if (f == 110)
            Save(hp->display(), "game_stats");
    };
    RunGame();
}

// The ground families over the landscape in the frame loop's draw order: a
// cuddling pair under its heart, a small shooter firing and a big one
// walking, the foreground killer firing, a bazooka counting down.
void GroundActors() {
    Fresh();
    BITMAP* sky = LoadImage("sky.bmp");
    BITMAP* hills = LoadImage("bg.bmp");
    BITMAP* ground = LoadImage("fg.bmp");
    BITMAP* ufo = LoadImage("ufo.bmp");
    cameraX = 1200;
    life = 100;
    gameRunning = 1;
    walkerSiteCount = 0;
    Walker* male = CreateMaleWalker(1215);
    Walker* female = CreateFemaleWalker(1262);
    female->facing = 0;
    walkerList.Append(male);
    walkerList.Append(female);
    auto spawn = [](bool big, int x) {
        uint32_t seed = 1;  // the size is the spawn's first draw
        while (SeedRandom(seed), (Random() % 10 > 5) != big)
            ++seed;
        SeedRandom(seed);
        shooterSpawnCountdown = 1;
        SpawnShooter();
        Shooter* s = big ? bigShooters.tail : smallShooters.tail;
        s->x = x;
        s->facing = 1;
        s->beaming = 0;
        return s;
    };
    Shooter* small = spawn(false, 1920);
    small->timer = 1;
    spawn(true, 1000)->timer = 1000;
    Killer* k = CreateKiller();
    ShowKiller(k);
    k->fireTimer = 1000;
    CreateMoleHoleAnims();
    moleHoleMax = 1;
    SpawnMoleHole();
    moleX[0] = cameraX + 560;  // clear of the killer
    moleKind[0] = kMoleBazooka;
    moleCountdown[0] = 35;
    moleWait[0] = 10;
    auto ready = [&] {
        return k->state == kKillerFiring && moleRise[0] == moleImages[kMoleBazooka]->h &&
               moleCountdown[0] <= 22 && !small->walking && male->state == kWalkerCuddling;
    };
    int shotUsed = 0;
    for (int frame = 0; frame < 300 && !ready(); ++frame) {
        rectfill(backBuffer, 0, 0, kScreenW, 300, makecol(0, 200, 255));
        blit(sky, backBuffer, 0, 0, 0, 100, kScreenW, 168);
        for (int x = 0; x < 3200; x += hills->w)
            masked_blit(hills, backBuffer, 0, 0, x - cameraX / 2, 244, hills->w, hills->h);
        for (int x = 0; x < 3200; x += ground->w)
            masked_blit(ground, backBuffer, 0, 0, x - cameraX, 237, ground->w, ground->h);
        masked_blit(ufo, backBuffer, 0, 0, 1150 - cameraX, 410 - ufo->h, ufo->w, ufo->h);
        UpdateWalkers(backBuffer, 0, &shotUsed);
        UpdateMoleHoles(backBuffer, 0, &shotUsed);
        UpdateShooterList(smallShooters, 0);
        UpdateShooterList(bigShooters, 0);
        UpdateKiller(k);
        DrawKiller(k, backBuffer);
        if (!small->walking)
            small->timer = 1000;  // keeps firing for the picture
    }
    Save(backBuffer, "ground_actors");
    SaveForReadme(backBuffer, "game");
    FreeAllWalkers();
    FreeAllShooters();
    FreeMoleHoles();
    FreeKiller(k);
}

// A UFO shot over the middle of the view: its eight bubbles and the 1000.
void UfoShot() {
    Fresh();
    LoadFlyerImages();
    ResetScoreState();
    cameraX = 1200;
    SeedRandom(2026);
    Flyer* ufo = CreateUfo(nullptr);
    ufo->x = cameraX + 360;
    ufo->y = 120;
    ufo->dx = 0;
    int respawn = 100;
    auto frame = [&](int firing) {
        int hit = 0;
        clear_to_color(backBuffer, makecol(90, 150, 230));
        rectfill(backBuffer, 0, 380, 799, 599, makecol(60, 140, 60));
        UpdateBubbles(backBuffer, 0, &hit);
        DrawHud(backBuffer);
        UpdateFlyer(ufo, firing, &hit, &respawn, kFlyerUfo);
        UpdatePopups(backBuffer);
    };
    frame(0);
    mouse_x = 360 + ufo->frameWidth / 2;
    mouse_y = 120 + ufo->image->h / 2;
    for (int f = 0; f < 7; ++f)
        frame(f == 0);
    Save(backBuffer, "ufo_shot");
    FreeAllBubbles();
    FreeAllPopups();
    delete ufo;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1)
        outDir = argv[1];
    mkdir(outDir.c_str(), 0755);
    mkdir((outDir + "/readme").c_str(), 0755);
    FrontEnd();
    Intro();
    AGame();
    GroundActors();
    UfoShot();
    MenuAfterIntro();
    Towers();
    Paused();
    CounterOnSun();
    CalmWarning();
    std::printf("pictures in %s; the README's in %s/readme (copy to docs/screenshots)\n",
                outDir.c_str(), outDir.c_str());
    return 0;
}

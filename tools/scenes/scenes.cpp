// Pictures of the game for people to look at, taken through the headless
// platform with the real data: the README's screenshots (half size, in
// OUTDIR/readme) and a review shot of every screen and family. Nothing here
// checks anything; the tests do that.
//   scene_pictures OUTDIR    (from the build folder, beside data/)
#include <allegro.h>
#include <sys/stat.h>

#include <cstdio>
#include <functional>
#include <string>

#include "actors/bubbles.h"
#include "actors/flyers.h"
#include "actors/shooters.h"
#include "actors/walkers.h"
#include "app/data/loader.h"
#include "app/random.h"
#include "app/system.h"
#include "game/game.h"
#include "game/gamestate.h"
#include "png.h"
#include "screens/intro.h"
#include "screens/screens.h"
#include "support/headless.h"
#include "world/killer.h"
#include "world/moleholes.h"
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
    std::printf("pictures in %s; the README's in %s/readme (copy to docs/screenshots)\n",
                outDir.c_str(), outDir.c_str());
    return 0;
}

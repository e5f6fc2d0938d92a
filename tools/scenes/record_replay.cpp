// Records a whole game for tests/replays: a player that shoots what drains
// its life first (the killer, shooters firing near the middle, a bazooka),
// takes a care package when life runs low, goes for points otherwise
// (walkers, mole figures, the flying UFO, flowers) and reloads in time.
// It never shoots what costs points or time (planes, the peace figure,
// tower segments) nor what only takes a shot a frame late (bubbles), so
// runs of hits last.
//   tools/record_replay NAME SEED    (from the build folder, beside data/)
// writes NAME.replay and NAME.expected into the current folder and prints
// the statistics with the run bonuses and care packages taken.
#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <utility>

#include "actors/flyers.h"
#include "actors/shooters.h"
#include "actors/walkers.h"
#include "app/data/loader.h"
#include "app/system.h"
#include "game/game.h"
#include "game/gamestate.h"
#include "game/replay.h"
#include "screens/screens.h"
#include "support/headless.h"
#include "support/replay.h"
#include "world/killer.h"
#include "world/moleholes.h"
#include "world/score.h"

namespace {

// What a whole game went through besides its statistics: run bonuses and
// care packages taken (the only thing that heals).
struct Events {
    int runBonuses = 0;
    int heals = 0;
};
std::function<void(int)> CountEvents(Events& e) {
    return [&e, lastCombo = 0, lastLife = 100](int) mutable {
        e.runBonuses += game.combo != lastCombo && game.combo > 0 && game.combo % 5 == 0;
        e.heals += life > lastLife;
        lastCombo = game.combo;
        lastLife = life;
    };
}

// A pixel that is solid in every frame of a strip, nearest its middle: a
// shot there hits whichever frame shows. (-1, -1) when there is none.
std::pair<int, int> SolidSpot(BITMAP* image, int frames) {
    static std::map<std::pair<BITMAP*, int>, std::pair<int, int>> known;
    auto [it, fresh] = known.insert({{image, frames}, {-1, -1}});
    const int fw = image->w / frames;
    for (int best = 1 << 30, y = 0; fresh && y < image->h; ++y)
        for (int x = 0; x < fw; ++x) {
            bool solid = true;
            for (int k = 0; k < frames && solid; ++k)
                solid = getpixel(image, k * fw + x, y) != bitmap_mask_color(image);
            int d = (x - fw / 2) * (x - fw / 2) + (y - image->h / 2) * (y - image->h / 2);
            if (solid && d < best)
                best = d, it->second = {x, y};
        }
    return it->second;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: record_replay NAME SEED\n");
        return 2;
    }
    const std::string name = argv[1];
    const long seed = std::atol(argv[2]);
    HeadlessPlatform* hp = StartHeadless();
    backBuffer = create_bitmap(kScreenW, kScreenH);
    scratchBuffer = create_bitmap(kScreenW, kScreenH);
    gameFont = font;  // as in the replay test
    backdrop = LoadImage("tlebg.bmp");
    StartOfRun();
    hp->workMsPerFrame = 10;
    hp->seedTime = seed;
    std::ostringstream rec;
    rec << "# A whole game by a player that shoots what hurts first.\nseed " << hp->seedTime
        << "\n";
    auto input = [&](int f, int x, int y, int b) {
        hp->MouseAt(f, x, y, b);
        rec << "mouse " << f << " " << x << " " << y << " " << b << "\n";
    };
    Events events;
    auto count = CountEvents(events);
    int busyUntil = 0;
    hp->onFrame = [&](int f) {
        count(f);
        if (f < busyUntil || !gameRunning || timeLeft < 0 || life <= 0 || !game.flyingUfo)
            return;
        // Candidates: (urgency, screen x, screen y) where the shot will find
        // them one update from now; early targets two updates.
        int best = 99, ax = 0, ay = 0, early = 0, far = 0;
        auto consider = [&](int urgency, int sx, int sy, bool isEarly = false) {
            if (sx > 60 && sx < 740 && sy > 5 && sy < 595 && urgency < best)
                best = urgency, ax = sx, ay = sy, early = isEarly;
            else if (urgency <= 3 && !far)
                far = sx < 400 ? -1 : 1;
        };
        auto spot = [](BITMAP* image, int frames) { return SolidSpot(image, frames); };
        if (killer->y < 600 && killer->state != kKillerExploding) {
            auto [px, py] = spot(killer->images[killer->state], killer->frameCounts[killer->state]);
            int sx = killer->x - cameraX;
            consider(sx > 200 && sx < 600 ? 0 : 2, sx + px,
                     killer->y + py - (killer->state == kKillerRising ? 10 : 0));
        }
        for (List<Shooter>* list : {&smallShooters, &bigShooters})
            for (Shooter* s = list->head; s; s = s->next) {
                if (s->dying || s->beaming)
                    continue;
                BITMAP* image = s->facing ? s->walkRightImage : s->walkLeftImage;
                auto [px, py] = spot(image, 12);
                int sx = s->x - cameraX + (s->walking ? (s->facing ? 5 : -5) : 0);
                consider(sx > 150 && sx < 650 ? 1 : 3, sx + px, s->y + py);
            }
        for (int i = 0; i < moleHoleCount; ++i) {
            int kind = moleKind[i];
            if ((kind != kMoleBazooka && kind != kMoleLout) || moleWait[i] > 0 ||
                moleRise[i] < moleAnims[kind]->image->h || moleMound[i]->frame < 6)
                continue;
            Anim* a = moleAnims[kind];
            auto [px, py] = spot(a->image, a->frameCount);
            const int offset[] = {46, 26, 41};
            int x = moleX[i] - cameraX + offset[kind] - moleAnims[kMoleLout]->frameWidth / 2;
            consider(kind == kMoleBazooka ? 0 : 3, x + px, (kind ? 461 : 466) - a->image->h + py);
        }
        Flyer* care = game.carePackage;
        if (care && care->alive && life <= 95)
            consider(1, care->x - cameraX + care->frameWidth / 2, care->y + 8 + 90, true);
        for (Walker* w = walkerList.head; w; w = w->next)
            if (w->state != kWalkerExploding) {
                BITMAP* image = w->facing ? w->rightImages[w->state] : w->leftImages[w->state];
                auto [px, py] = spot(image, w->frameCounts[w->state]);
                int step = w->state == kWalkerWalking ? (w->facing ? 5 : -5) : 0;
                consider(3, w->x - cameraX + step + px, w->y + py);
            }
        if (Flyer* u = game.flyingUfo; u->alive) {
            auto [px, py] = spot(u->image, u->frameCount);
            consider(4, u->x + u->dx - cameraX + px, u->y + py);
        }
        for (int i = 0; i < kFlowers; ++i)
            if (!game.flowerShot[i])
                consider(5, game.flowerX[i] - cameraX + flowerTarget->w / 2,
                         game.flowerY[i] + (flowerTarget->w - 8) / 2);
        if (ammo == 0 || (ammo < 3 && best > 1)) {
            input(f + 1, 400, 3, 2);
            input(f + 2, 400, 3, 0);
            busyUntil = f + 3;
        } else if (best < 99) {
            input(f + 1, ax, ay, 1);
            input(f + 2, ax, early ? ay : 3, 0);
            input(f + 3, 400, 3, 0);
            busyUntil = f + 3;
        } else if (far) {
            input(f + 1, far < 0 ? 20 : 780, 300, 0);
            input(f + 9, 400, 3, 0);
            busyUntil = f + 10;
        }
    };
    int result = RunGame();
    std::ofstream(name + ".replay") << rec.str();
    std::ofstream(name + ".expected") << GameSummary(result);
    std::printf("%sRun bonuses: %d\nCare packages: %d\n", GameSummary(result).c_str(),
                events.runBonuses, events.heals);
    return 0;
}

// landscape_view: composes one 800x600 game view from data/gfx.dat the way a
// game frame draws it (sky fill, band, background layer, castle, sun, tower
// strips with smoke, foreground layer with flowers, trees and landed
// saucers, then figures) and saves it as a BMP for review.
//
//   landscape_view GFX_DAT OUT.bmp [CAMERA] [SQUAD_RISE]
//
// The layout is fixed rather than rolled so that two runs compare. Members
// painted by other families (walkers, shooters, flying saucer) are drawn
// when the datafile has them. SQUAD_RISE >= 0 also draws the squad of five
// saucers that many rows above their start rows.
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/squadheights.h"
#include "scenery.h"

namespace {

std::string gDat;

BITMAP* Load(const char* name) {
    std::string path = gDat + "#" + name;
    return load_bitmap(path.c_str(), nullptr);
}

BITMAP* Need(const char* name) {
    BITMAP* b = Load(name);
    if (!b) {
        std::fprintf(stderr, "landscape_view: missing %s\n", name);
        std::exit(1);
    }
    return b;
}

// Frame 0 of an optional strip with n frames, bottom row on `bottom`.
void Figure(BITMAP* dst, const char* name, int frames, int x, int top, int bottom) {
    BITMAP* b = Load(name);
    if (!b)
        return;
    int fw = b->w / frames;
    int y = top >= 0 ? top : bottom - b->h;
    masked_blit(b, dst, 0, 0, x, y, fw, b->h);
    destroy_bitmap(b);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s GFX_DAT OUT.bmp [CAMERA] [SQUAD_RISE]\n", argv[0]);
        return 2;
    }
    gDat = argv[1];
    const int camera = argc > 3 ? std::atoi(argv[3]) : 1200;
    const int squadRise = argc > 4 ? std::atoi(argv[4]) : -1;
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(16);
    _rgb_r_shift_16 = 11;
    _rgb_g_shift_16 = 5;
    _rgb_b_shift_16 = 0;

    BITMAP* fg = Need("fg.bmp");
    BITMAP* bg = Need("bg.bmp");
    BITMAP* sky = Need("sky.bmp");
    BITMAP* sun = Need("sonne.bmp");
    BITMAP* castle = Need("castle.bmp");
    BITMAP* turm[4] = {Need("turm0.bmp"), Need("turm1.bmp"), Need("turm_0.bmp"),
                       Need("turm_1.bmp")};
    BITMAP* smoke[4] = {Need("rauch0.bmp"), Need("rauch1.bmp"), Need("rauch_0.bmp"),
                        Need("rauch_1.bmp")};
    BITMAP* atomic = Need("atomic.bmp");
    BITMAP* trees[2] = {Need("tree0.bmp"), Need("tree1.bmp")};
    BITMAP* blume = Need("blume.bmp");
    BITMAP* ufo = Need("ufo.bmp");
    const char* flowerNames[12] = {"Blu_blau_e2.bmp", "Blu_blau_e3.bmp", "Blu_blau_e4.bmp",
                                   "Blu_lil1_e2.bmp", "Blu_lil1_e3.bmp", "Blu_lil1_e4.bmp",
                                   "Blu_lil2_e2.bmp", "Blu_lil2_e3.bmp", "Blu_lil2_e4.bmp",
                                   "Blu_lila_e2.bmp", "Blu_lila_e3.bmp", "Blu_lila_e4.bmp"};
    BITMAP* flowers[12];
    for (int i = 0; i < 12; ++i)
        flowers[i] = Need(flowerNames[i]);
    const int mask = makecol(255, 0, 255);

    // Foreground layer: ground, one flower per section, trees, saucers.
    BITMAP* fgLayer = create_bitmap(3200, 440);
    rectfill(fgLayer, 0, 0, 3200, 440, mask);
    for (int i = 0; i < 3; ++i)
        blit(fg, fgLayer, 0, 0, i * fg->w, 440 - 363, fg->w, fg->h);
    const int sectionFlower[8] = {0, 4, 8, 9, 2, 7, 11, 5};
    const int sectionX[8] = {40, 300, 150, 60, 250, 120, 200, 10};
    for (int k = 0; k < 8; ++k) {
        BITMAP* f = flowers[sectionFlower[k]];
        int x = sectionX[k] % (400 - f->w) + 400 * k;
        masked_blit(f, fgLayer, 0, 0, x, 440 - f->h, f->w, f->h);
    }
    masked_blit(trees[1], fgLayer, 0, 0, 1260, 0, trees[1]->w, trees[1]->h);
    masked_blit(trees[0], fgLayer, 0, 0, 1880, 50, trees[0]->w, trees[0]->h);
    masked_blit(trees[0], fgLayer, 0, 0, 700, 50, trees[0]->w, trees[0]->h);
    const int sites[3] = {400, 1200, 2000};
    for (int x : sites)
        masked_blit(ufo, fgLayer, 0, 0, x, 440 - ufo->h - 190, ufo->w, ufo->h);

    // Background layer.
    BITMAP* bgLayer = create_bitmap(2000, bg->h);
    rectfill(bgLayer, 0, 0, 2000, bg->h, mask);
    for (int i = 0; i < 6; ++i)
        blit(bg, bgLayer, 0, 0, i * bg->w, 0, bg->w, bg->h);

    // Tower strips: first intact, second with its middle segment ruined.
    const int sw = turm[0]->w, sh = turm[0]->h;
    BITMAP* strip[2];
    const int kinds[2][3] = {{0, 1, 0}, {1, 3, 0}};
    for (int s = 0; s < 2; ++s) {
        strip[s] = create_bitmap(3 * sw, sh);
        for (int j = 0; j < 3; ++j)
            blit(turm[kinds[s][j]], strip[s], 0, 0, j * sw, 0, sw, sh);
    }
    const int stripX[2] = {camera * 2 / 3 + 180, camera * 2 / 3 + 520};

    BITMAP* view = create_bitmap(800, 600);
    rectfill(view, 0, 0, 800, 300, makecol(0, 202, 255));
    blit(sky, view, 0, 0, 0, 100, 800, 168);
    masked_blit(bgLayer, view, camera / 2, 0, 0, 244, 800, bgLayer->h);
    const int castleX = camera * 3 / 5 + 430;
    const int csx = castleX - camera * 3 / 5;
    masked_blit(castle, view, 0, 0, csx, 186, castle->w, castle->h);
    Figure(view, "ufodreh.bmp", 4, csx + 38, 158, 0);
    masked_blit(sun, view, 3 * 220, 0, -40, -20, 220, 180);
    for (int s = 0; s < 2; ++s) {
        int sx = stripX[s] - camera * 2 / 3;
        masked_blit(strip[s], view, 0, 0, sx, 272, strip[s]->w, strip[s]->h);
        for (int k = 0; k < 3; ++k) {
            bool ruined = kinds[s][k] >= 2;
            BITMAP* sm = smoke[(ruined ? 2 : 0) + (k % 2)];
            int fw = sm->w / 16, cx = sx + sw / 2 + k * sw;
            masked_blit(sm, view, ((k * 5 + s * 3) % 16) * fw, 0, cx - fw / 2, 272 - smoke[0]->h,
                        fw, sm->h);
            if (ruined)
                masked_blit(atomic, view, 4 * 40, 0, cx - 20, 220 - 30, 40, 40);
        }
    }
    if (squadRise >= 0) {
        BITMAP* u = Load("ufodreh.bmp");
        int fw = u ? u->w / 4 : 72, fh = u ? u->h : 28;
        int x = fw / 2 + camera + 113;
        for (int k = 0; k < 5; ++k, x += 115) {
            int y = kSquadStartHeights[size_t(x % kSquadPeriod)] - squadRise;
            if (u)
                masked_blit(u, view, 0, 0, x - camera, y, fw, fh);
            else
                rectfill(view, x - camera, y, x - camera + fw - 1, y + fh - 1, makecol(255, 0, 0));
        }
    }
    masked_blit(fgLayer, view, camera, 0, 0, 160, 800, 440);
    masked_blit(blume, view, 0, 0, 150, 430, blume->w, blume->h);
    masked_blit(blume, view, 0, 0, 520, 480, blume->w, blume->h);
    Figure(view, "mpwalkl.bmp", 12, 1200 + 60 - camera, 313, 0);
    Figure(view, "fpwalkr.bmp", 12, 1200 + 180 - camera, 313, 0);
    Figure(view, "shooterwalkl.bmp", 12, 1200 + 380 - camera, 333, 0);
    Figure(view, "shooterbigwl.bmp", 12, 1200 + 250 - camera, -1, 590);

    if (save_bitmap(argv[2], view, nullptr) != 0) {
        std::fprintf(stderr, "landscape_view: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

#include "world/scenery.h"

#include <cstdint>
#include <vector>

#include "app/data/loader.h"
#include "app/draw/blit.h"
#include "app/random.h"
#include "app/system.h"

BITMAP* groundImage = nullptr;
BITMAP* backgroundTile = nullptr;
BITMAP* flowerImages[kFlowerKinds] = {};
BITMAP* treeImages[2] = {};
BITMAP* towerImages[2] = {};
BITMAP* towerHitImages[2] = {};

BITMAP* foregroundLayer = nullptr;
BITMAP* backgroundLayer = nullptr;
BITMAP* towerStrip[2] = {};
BITMAP* towerHitStrip[2] = {};

// Three heights of each of four kinds; index mod 3 says how far away the
// flower stands (e2 nearest and lowest, e4 farthest and highest).
const char* const flowerMembers[kFlowerKinds] = {
    "Blu_blau_e2.bmp", "Blu_blau_e3.bmp", "Blu_blau_e4.bmp", "Blu_lil1_e2.bmp",
    "Blu_lil1_e3.bmp", "Blu_lil1_e4.bmp", "Blu_lil2_e2.bmp", "Blu_lil2_e3.bmp",
    "Blu_lil2_e4.bmp", "Blu_lila_e2.bmp", "Blu_lila_e3.bmp", "Blu_lila_e4.bmp",
};

namespace {

constexpr int kGroundRows = 363;     // "fg.bmp" stands on the layer's bottom
constexpr int kFlowerSection = 400;  // one chance of a flower per section
constexpr int kFlowerSections = 8;
constexpr int kFlowerDrop[3] = {108, 185, 228};  // top row = height - drop
constexpr int kTreeY[2] = {50, 0};               // tree0 stands 50 rows lower
constexpr int kBackgroundTiles = 6;

// Made once, then reused: every game repaints them whole. A layer of the
// wrong size (the pictures changed under it) is made anew.
BITMAP* Reuse(BITMAP* bmp, int w, int h) {
    if (bmp && bmp->w == w && bmp->h == h) {
        return bmp;
    }
    if (bmp) {
        destroy_bitmap(bmp);
    }
    return create_bitmap(w, h);
}

void Load(BITMAP*& slot, const char* member) {
    if (!slot)
        slot = LoadImage(member);
}

// Per row of a layer: 1 when no column of it shows the mask.
std::vector<char> foregroundOpaque;
std::vector<char> backgroundOpaque;

std::vector<char> OpaqueRows(BITMAP* layer) {
    int depth = bitmap_color_depth(layer);
    std::vector<char> opaque(size_t(layer->h), depth == 15 || depth == 16);
    auto mask = static_cast<uint16_t>(bitmap_mask_color(layer));
    for (int y = 0; y < layer->h; ++y) {
        const auto* row = reinterpret_cast<const uint16_t*>(layer->line[y]);
        for (int x = 0; x < layer->w && opaque[size_t(y)]; ++x)
            opaque[size_t(y)] = row[x] != mask;
    }
    return opaque;
}

// Runs of opaque rows are plain copies, the rest masked ones.
void DrawLayer(BITMAP* layer, const std::vector<char>& opaque, BITMAP* target, int sx, int y) {
    if (plainDrawing || opaque.size() != size_t(layer->h)) {
        masked_blit(layer, target, sx, 0, 0, y, kScreenW, layer->h);
        return;
    }
    for (int top = 0; top < layer->h;) {
        int end = top;
        while (end < layer->h && opaque[size_t(end)] == opaque[size_t(top)])
            ++end;
        if (opaque[size_t(top)])
            blit(layer, target, sx, top, 0, y + top, kScreenW, end - top);
        else
            MaskedBlit(layer, target, sx, top, 0, y + top, kScreenW, end - top);
        top = end;
    }
}

}  // namespace

void LoadFlowerImages() {
    for (int i = 0; i < kFlowerKinds; ++i)
        Load(flowerImages[i], flowerMembers[i]);
}

void LoadTreeImages() {
    Load(treeImages[0], "tree0.bmp");
    Load(treeImages[1], "tree1.bmp");
}

void LoadTowerImages() {
    Load(towerImages[0], "turm0.bmp");
    Load(towerImages[1], "turm1.bmp");
    Load(towerHitImages[0], "turm_0.bmp");
    Load(towerHitImages[1], "turm_1.bmp");
}

void BuildForegroundLayer() {
    foregroundLayer = Reuse(foregroundLayer, kForegroundW, kForegroundH);
    BITMAP* layer = foregroundLayer;
    rectfill(layer, 0, 0, layer->w, layer->h, bitmap_mask_color(layer));
    for (int i = 0; i < 3; ++i) {
        blit(groundImage, layer, 0, 0, i * groundImage->w, layer->h - kGroundRows, groundImage->w,
             groundImage->h);
    }
    for (int k = 0; k < kFlowerSections; ++k) {
        int r = Random() % 13 - 1;
        if (r < 0) {
            continue;  // one section in thirteen stays bare
        }
        BITMAP* flower = flowerImages[r];
        // An over-wide picture must not divide by zero; it just sits at the
        // section's left edge.
        int room = kFlowerSection - flower->w;
        int x = (room > 0 ? Random() % room : 0) + kFlowerSection * k;
        masked_blit(flower, layer, 0, 0, x, layer->h - kFlowerDrop[r % 3], flower->w, flower->h);
    }
    int trees = Random() % 5 + 1;
    for (int i = 0; i < trees; ++i) {
        int kind = Random() % 2 == 1 ? 0 : 1;
        BITMAP* tree = treeImages[kind];
        int room = layer->w - tree->w;
        int x = room > 0 ? Random() % room : 0;
        masked_blit(tree, layer, 0, 0, x, kTreeY[kind], tree->w, tree->h);
    }
    foregroundOpaque = OpaqueRows(layer);
}

void DrawForegroundLayer(BITMAP* target, int sx, int y) {
    DrawLayer(foregroundLayer, foregroundOpaque, target, sx, y);
}

void DrawBackgroundLayer(BITMAP* target, int sx, int y) {
    DrawLayer(backgroundLayer, backgroundOpaque, target, sx, y);
}

void BuildBackgroundLayers() {
    backgroundLayer = Reuse(backgroundLayer, kBackgroundW, backgroundTile->h);
    rectfill(backgroundLayer, 0, 0, backgroundLayer->w, backgroundLayer->h,
             bitmap_mask_color(backgroundLayer));
    for (int i = 0; i < kBackgroundTiles; ++i) {
        blit(backgroundTile, backgroundLayer, 0, 0, i * backgroundTile->w, 0, backgroundTile->w,
             backgroundTile->h);
    }
    int sw = towerImages[0]->w;
    int sh = towerImages[0]->h;
    for (int s = 0; s < 2; ++s) {
        towerStrip[s] = Reuse(towerStrip[s], 3 * sw, sh);
        towerHitStrip[s] = Reuse(towerHitStrip[s], 3 * sw, sh);
    }
    for (int s = 0; s < 2; ++s) {
        for (int j = 0; j < 3; ++j) {
            int kind = Random() % 10 <= 5 ? 1 : 0;
            BITMAP* seg = towerImages[kind];
            BITMAP* hit = towerHitImages[kind];
            blit(seg, towerStrip[s], 0, 0, j * sw, 0, seg->w, seg->h);
            blit(hit, towerHitStrip[s], 0, 0, j * sw, 0, hit->w, hit->h);
        }
    }
    backgroundOpaque = OpaqueRows(backgroundLayer);
}

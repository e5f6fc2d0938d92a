// The landscape layers, composed anew with random choices for every game.
#pragma once

#include <allegro.h>

constexpr int kForegroundW = 3200;
constexpr int kForegroundH = 440;
constexpr int kBackgroundW = 2000;
constexpr int kFlowerKinds = 12;

// Images of the layers (loaded by LoadSceneryImages, kept for the run).
extern BITMAP* groundImage;     // "fg.bmp"
extern BITMAP* backgroundTile;  // "bg.bmp"
extern BITMAP* flowerImages[kFlowerKinds];
extern BITMAP* treeImages[2];      // "tree0.bmp", "tree1.bmp"
extern BITMAP* towerImages[2];     // "turm0.bmp", "turm1.bmp"
extern BITMAP* towerHitImages[2];  // "turm_0.bmp", "turm_1.bmp"

// The layers: made on the first game, reused and repainted by every game.
extern BITMAP* foregroundLayer;
extern BITMAP* backgroundLayer;
extern BITMAP* towerStrip[2];
extern BITMAP* towerHitStrip[2];

extern const char* const flowerMembers[kFlowerKinds];

void LoadFlowerImages();
void LoadTreeImages();
void LoadTowerImages();
void BuildForegroundLayer();
void BuildBackgroundLayers();

// The layers as masked_blit(layer, target, sx, 0, 0, y, screen width, layer
// height) draws them: rows that were opaque in every column when the layer
// was built are copied plainly. Whatever is drawn onto a layer after it was
// built must be drawn masked, so that those rows stay opaque.
void DrawForegroundLayer(BITMAP* target, int sx, int y);
void DrawBackgroundLayer(BITMAP* target, int sx, int y);

// The targets that belong to the landscape itself: six tower segments with
// their smoke, ten flowers, and the squad of UFOs the last flower releases.
#include "actors/anim.h"
#include "actors/flyers.h"
#include "app/draw/blit.h"
#include "app/system.h"
#include "game/game.h"
#include "game/gamestate.h"
#include "world/scenery.h"
#include "world/score.h"

namespace {

constexpr int kTowerRow = 272;
constexpr int kTowerClickWidth = 78;  // fixed, whatever the segment width
constexpr int kExplosionSize = 40;
constexpr int kExplosionFrames = 10;
constexpr int kExplosionTop = 220;   // the cloud rises from here...
constexpr int kExplosionLife = 120;  // ...one row per frame for this long
constexpr int kTowerTimeCost = 1000;
constexpr int kFlowerPoints = 50;

// A shot segment's smoke turns from its intact picture to its ruined one.
void RuinSegment(int j) {
    Anim* smoke = game.smokeAnims[j];
    smoke->image = smoke->image == smokeImages[0] ? smokeImages[2] : smokeImages[3];
    shakeFrames = 10;
    timeLeft -= kTowerTimeCost;
    ++game.towersDestroyed;
    if (game.explosionAge[j] == 0) {
        game.explosionFrame[j] = 0;
    }
}

void HitTowerStrip(int s, int sx) {
    if (!game.shotFired || game.shotUsed)
        return;
    if (!(kTowerRow < mouse_y && mouse_y < kTowerRow + 26))
        return;
    if (!(sx < mouse_x && mouse_x < sx + kTowerClickWidth))
        return;
    int sw = towerImages[0]->w;
    int sh = towerImages[0]->h;
    int k = (mouse_x - sx) / sw;
    if (k < 0 || k > 2)
        return;
    // Copied again on every click, even on a segment already in ruins.
    blit(towerHitStrip[s], towerStrip[s], k * sw, 0, k * sw, 0, sw, sh);
    int j = 3 * s + k;
    if (TowerSegmentIntact(j)) {
        RuinSegment(j);
    }
    // The shot stays free for later targets and scores nothing: a miss.
}

void DrawSmokeAndExplosions(int s, int sx) {
    int sw = towerImages[0]->w;
    // One smoke row for all six columns, from the first column's picture.
    int h0 = game.smokeAnims[0]->image->h;
    for (int k = 0; k < 3; ++k) {
        int j = 3 * s + k;
        int cx = sx + sw / 2 + k * sw;
        Anim* smoke = game.smokeAnims[j];
        DrawAnimFrame(smoke, backBuffer, cx - smoke->frameWidth / 2, kTowerRow - h0);
        if (game.explosionFrame[j] >= 0) {
            MaskedBlit(explosionImage, backBuffer, game.explosionFrame[j] * kExplosionSize, 0,
                       cx - kExplosionSize / 2, kExplosionTop - game.explosionAge[j],
                       kExplosionSize, kExplosionSize);
            game.explosionFrame[j] = (game.explosionFrame[j] + 1) % kExplosionFrames;
        }
    }
}

int FlowerScreenX(int i) {
    return game.flowerX[i] - cameraX;
}

bool FlowerOnScreen(int i) {
    int sx = FlowerScreenX(i);
    return flowerTarget->w + sx > 0 && sx < kScreenW;
}

void ReleaseSquad() {
    game.squadActive = 1;
    int x = game.squad[0]->frameWidth / 2 + cameraX + 113;
    for (int k = 0; k < kSquad; ++k) {
        Flyer* ufo = game.squad[k];
        ufo->x = x;
        ufo->y = kSquadStartHeights[size_t(x % kSquadPeriod)];
        ufo->dx = 0;
        ufo->dy = -1;
        ufo->alive = 1;
        x += 115;
    }
}

}  // namespace

bool TowerSegmentIntact(int j) {
    BITMAP* img = game.smokeAnims[j]->image;
    return img == smokeImages[0] || img == smokeImages[1];
}

void UpdateTowers() {
    int ct = 2 * cameraX / 3;
    for (int s = 0; s < 2; ++s) {
        BITMAP* strip = towerStrip[s];
        int sx = game.towerStripX[s] - ct;
        if (!(sx > -strip->w && sx < kScreenW + strip->w)) {
            continue;
        }
        MaskedBlit(strip, backBuffer, 0, 0, sx, kTowerRow, strip->w, strip->h);
        HitTowerStrip(s, sx);
        DrawSmokeAndExplosions(s, sx);
    }
    for (int j = 0; j < kTowerSegments; ++j) {
        if (game.explosionFrame[j] >= 0 && ++game.explosionAge[j] > kExplosionLife) {
            game.explosionFrame[j] = -1;
        }
    }
    for (Anim* smoke : game.smokeAnims) {
        AdvanceAnim(smoke);
    }
}

void UpdateSquad() {
    if (!game.squadActive)
        return;
    bool anyAlive = false;
    for (int k = 0; k < kSquad; ++k) {
        UpdateFlyer(game.squad[k], game.shotFired, &game.shotUsed, &game.squadCountdown[k],
                    kFlyerUfo);
        anyAlive = anyAlive || game.squad[k]->alive;
    }
    if (!anyAlive) {
        game.squadActive = 0;
    }
}

void DrawFlowers() {
    for (int i = 0; i < kFlowers; ++i) {
        if (!game.flowerShot[i] && FlowerOnScreen(i)) {
            MaskedBlit(flowerTarget, backBuffer, 0, 0, FlowerScreenX(i), game.flowerY[i],
                       flowerTarget->w, flowerTarget->h);
        }
    }
}

void HitFlowers() {
    if (!game.shotFired || game.shotUsed)
        return;
    int w = flowerTarget->w;
    // Once begun, every flower is tested: one shot may take overlapping ones.
    for (int i = 0; i < kFlowers; ++i) {
        if (game.flowerShot[i] || !FlowerOnScreen(i))
            continue;
        int sx = FlowerScreenX(i);
        int fy = game.flowerY[i];
        // The flower's height is measured with its width; no pixel test.
        if (!(sx + 4 < mouse_x && mouse_x < sx + w - 4 && fy < mouse_y && mouse_y < fy + w - 8)) {
            continue;
        }
        game.flowerShot[i] = 1;
        int px = game.flowerX[i] + w / 2 - ScorePopupWidth() / 2;
        AddScore(kFlowerPoints, px, fy);
        game.shotUsed = 1;
        if (game.flowersLeft == kFlowers && game.towersDestroyed == kTowerSegments) {
            game.bonusMode = -1;
        }
        if (game.bonusMode) {
            timeLeft += 200;
        }
        if (--game.flowersLeft == 0) {
            ReleaseSquad();
            if (game.bonusMode) {
                AddScore(1000, px, fy - 50);
                AddScore(0, px, fy - 80);
                timeLeft += 8000;
            }
        }
    }
}

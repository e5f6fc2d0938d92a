// Recorded games (tests/replays): the seed the clock gave, then every change
// of the mouse by frame.
#pragma once

#include <string>

#include "actors/shooters.h"
#include "actors/walkers.h"
#include "game/replay.h"
#include "support/headless.h"
#include "world/moleholes.h"

// Loads tests/replays/NAME.replay into the platform's script; false when it
// is malformed.
inline bool LoadRecordedGame(const std::string& name, HeadlessPlatform* hp) {
    Replay r;
    std::string error;
    if (!ReadReplay(std::string(FLUFF_SOURCE_DIR) + "/tests/replays/" + name + ".replay", r, error))
        return false;
    hp->seedTime = r.seed;
    for (const ReplayInput& e : r.inputs)
        hp->MouseAt(e.frame, e.x, e.y, e.buttons);
    return true;
}

// What a run carries from game to game, back to its values at program
// start: a recording starts from a fresh run.
inline void StartOfRun() {
    walkerSpawnCountdown = kWalkerSpawnEvery;
    shooterSpawnCountdown = kShooterFirstSpawn;
    if (heartAnim)
        heartAnim->frame = 0;
}

// Arms a bazooka that fires in the next game frame.
inline void ArmBazooka() {
    moleHoleMax = 1;
    SpawnMoleHole();
    moleKind[0] = kMoleBazooka;
    moleCountdown[0] = moleWait[0] = 0;
    moleMound[0]->frame = moleMound[0]->frameCount - 1;
    moleRise[0] = moleAnims[kMoleBazooka]->image->h;
}

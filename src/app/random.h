// The game's only source of random numbers: a 15-bit linear congruential
// generator (state * 214013 + 2531011, bits 16..30). Its sequence is part of
// the game's behaviour: recorded games replay only with exactly this one.
#pragma once

#include <cstdint>

// Next number, 0..32767.
int Random();
// Sets the state. The state is 1 when the program starts.
void SeedRandom(uint32_t seed);
// The raw state, for tests and replays.
uint32_t RandomState();

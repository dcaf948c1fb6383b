#pragma once

#include <cstdint>

constexpr int32_t LAGGED_XOR_RANDOM_WORDS = 521;

// A lagged XOR generator over 521 words of state. The stored proxy password depends on its exact
// output sequence (the game reads the same format), so every step below is part of that format.
struct LaggedXorRandom
{
    int32_t index; // 0 to 520 between calls: the word the last output came from
    uint32_t x[LAGGED_XOR_RANDOM_WORDS];
};

static_assert(sizeof(LaggedXorRandom) == 522 * 4, "the state is 522 words of 32 bits");

// A new state on the heap, seeded with seed; null when the heap refuses it.
LaggedXorRandom* LaggedXorRandomCreate(uint32_t seed);

// The next 32-bit output.
uint32_t LaggedXorRandomNext(LaggedXorRandom* state);

// Releases a state from LaggedXorRandomCreate; null is accepted.
void LaggedXorRandomDestroy(LaggedXorRandom* state);

// The internal steps, public so that tests can check the state between them.
void LaggedXorRandomSeed(LaggedXorRandom* state, uint32_t seed);
void LaggedXorRandomRefresh(LaggedXorRandom* state);

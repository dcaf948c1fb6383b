#include "settings/LaggedXorRandom.h"

#include <cstdlib>

namespace
{

constexpr int32_t kLastIndex = LAGGED_XOR_RANDOM_WORDS - 1;
constexpr int kSeedWords = 17;
constexpr uint32_t kLcgMultiplier = 1566083941u;

// Fills x[0..16] with the top bits of a linear congruential sequence, 32 states per word, the
// first state of a word ending up in its lowest bit.
void FillSeedWords(LaggedXorRandom* state, uint32_t seed)
{
    uint32_t s = seed;
    for (int i = 0; i < kSeedWords; ++i)
    {
        uint32_t word = 0;
        for (int bit = 0; bit < 32; ++bit)
        {
            s = s * kLcgMultiplier + 1u;
            word = (word >> 1) | (s & 0x80000000u);
        }
        state->x[i] = word;
    }
}

// Spreads the 17 seed words over the whole state.
void ExtendSeedWords(LaggedXorRandom* state)
{
    uint32_t* x = state->x;
    x[16] = x[15] ^ (x[16] << 23) ^ (x[0] >> 9);
    for (int i = kSeedWords; i < LAGGED_XOR_RANDOM_WORDS; ++i)
    {
        x[i] = (x[i - 17] << 23) ^ (x[i - 16] >> 9) ^ x[i - 1];
    }
}

} // namespace

void LaggedXorRandomSeed(LaggedXorRandom* state, uint32_t seed)
{
    FillSeedWords(state, seed);
    ExtendSeedWords(state);
    LaggedXorRandomRefresh(state);
    LaggedXorRandomRefresh(state);
    LaggedXorRandomRefresh(state);
    state->index = kLastIndex;
}

void LaggedXorRandomRefresh(LaggedXorRandom* state)
{
    uint32_t* x = state->x;
    // The first pass covers x[1..31] only; x[0] keeps its seeded value for good.
    for (int i = 1; i < 32; ++i)
    {
        x[i] ^= x[i + 489];
    }
    // In place: from x[64] on, the word mixed in has already been changed by this pass.
    for (int i = 32; i < LAGGED_XOR_RANDOM_WORDS; ++i)
    {
        x[i] ^= x[i - 32];
    }
}

uint32_t LaggedXorRandomNext(LaggedXorRandom* state)
{
    ++state->index;
    if (state->index >= LAGGED_XOR_RANDOM_WORDS)
    {
        LaggedXorRandomRefresh(state);
        state->index = 0;
    }
    return state->x[state->index];
}

LaggedXorRandom* LaggedXorRandomCreate(uint32_t seed)
{
    // Not cleared: seeding writes every word.
    auto* state = static_cast<LaggedXorRandom*>(std::malloc(sizeof(LaggedXorRandom)));
    if (state == nullptr)
    {
        return nullptr;
    }
    LaggedXorRandomSeed(state, seed);
    return state;
}

void LaggedXorRandomDestroy(LaggedXorRandom* state)
{
    std::free(state);
}

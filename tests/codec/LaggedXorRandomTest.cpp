#include "settings/LaggedXorRandom.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{

constexpr uint32_t kSeed = 12345;

std::vector<uint32_t> FirstOutputs(uint32_t seed, int count)
{
    LaggedXorRandom* generator = LaggedXorRandomCreate(seed);
    std::vector<uint32_t> outputs;
    for (int i = 0; i < count; ++i)
    {
        outputs.push_back(LaggedXorRandomNext(generator));
    }
    LaggedXorRandomDestroy(generator);
    return outputs;
}

TEST(LaggedXorRandomTest, SeedingGivesTheKnownState)
{
    LaggedXorRandom* generator = LaggedXorRandomCreate(kSeed);
    ASSERT_NE(generator, nullptr);
    EXPECT_EQ(generator->index, 520);
    EXPECT_EQ(generator->x[0], 3410737606u);
    EXPECT_EQ(generator->x[1], 1085171009u);
    EXPECT_EQ(generator->x[2], 3737475464u);
    EXPECT_EQ(generator->x[520], 3727365245u);
    LaggedXorRandomDestroy(generator);
}

TEST(LaggedXorRandomTest, OutputsAcrossARefreshAreTheKnownOnes)
{
    struct Case
    {
        int number; // 1 is the first output after seeding
        uint32_t value;
    };
    const Case cases[] = {
        {1, 3410737606u},   {2, 3657708247u},   {3, 2764373747u},
        {521, 1444788245u}, {522, 3410737606u}, {523, 2670618975u},
    };
    const std::vector<uint32_t> outputs = FirstOutputs(kSeed, 523);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(outputs[c.number - 1], c.value);
    }
    // The low bytes are what a password byte is XORed with.
    EXPECT_EQ(outputs[0] & 0xFF, 198u);
    EXPECT_EQ(outputs[1] & 0xFF, 215u);
    EXPECT_EQ(outputs[2] & 0xFF, 243u);
}

// Refreshing never changes x[0], so every 521st output from the first on repeats it.
TEST(LaggedXorRandomTest, EveryFiveHundredTwentyFirstOutputIsTheFirstWord)
{
    const std::vector<uint32_t> outputs = FirstOutputs(kSeed, 4 * 521 + 1);
    for (int number = 1; number <= 4 * 521 + 1; number += 521)
    {
        SCOPED_TRACE(number);
        EXPECT_EQ(outputs[number - 1], 3410737606u);
    }
}

// The heap state is not cleared before seeding, so seeding must not read what was there.
TEST(LaggedXorRandomTest, SeedingDoesNotDependOnFormerContents)
{
    LaggedXorRandom cleared;
    LaggedXorRandom dirty;
    std::memset(&cleared, 0x00, sizeof cleared);
    std::memset(&dirty, 0xBD, sizeof dirty);
    LaggedXorRandomSeed(&cleared, kSeed);
    LaggedXorRandomSeed(&dirty, kSeed);
    EXPECT_EQ(std::memcmp(&cleared, &dirty, sizeof cleared), 0);
}

TEST(LaggedXorRandomTest, DifferentSeedsGiveDifferentStreams)
{
    EXPECT_NE(FirstOutputs(kSeed, 8), FirstOutputs(kSeed + 1, 8));
    EXPECT_EQ(FirstOutputs(kSeed, 8), FirstOutputs(kSeed, 8));
}

TEST(LaggedXorRandomTest, DestroyAcceptsNull)
{
    LaggedXorRandomDestroy(nullptr);
}

} // namespace

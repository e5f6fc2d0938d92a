// The generator's sequence is part of the game's behaviour: layouts and
// recorded games depend on it, so it is pinned number by number.
#include <gtest/gtest.h>

#include "app/random.h"

TEST(Random, SequenceFromStartStateIsPinned) {
    SeedRandom(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int e : expected)
        EXPECT_EQ(Random(), e);
}

TEST(Random, StaysWithin15BitsAndWrapsStateModulo2To32) {
    SeedRandom(0xFFFFFFFFu);
    // (2^32 - 1) * 214013 + 2531011 mod 2^32 = 2316998
    EXPECT_EQ(Random(), int((2316998u >> 16) & 0x7FFF));
    EXPECT_EQ(RandomState(), 2316998u);
    for (int i = 0; i < 100000; ++i) {
        int r = Random();
        ASSERT_TRUE(r >= 0 && r <= 32767) << r;
    }
}

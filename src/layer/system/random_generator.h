// SPDX-License-Identifier: MIT
// The 32-bit Mersenne Twister MT19937 with this program's own seeding: the state block is
// filled by a linear congruential sequence from the seed instead of the published
// initialisation, so the numbers differ from other MT19937 generators given the same seed.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace layer {

class RandomGenerator {
 public:
  static constexpr int32_t kStateWords = 624;

  // A generator that was never seeded draws as if seeded with 0 (an all-zero block would
  // only ever give zeros).
  RandomGenerator() { Seed(0.0); }

  // Seeds from the whole part of `seed` (truncated toward zero), of which the low 32 bits
  // count; NaN, infinities and seeds beyond the 64-bit range seed as 0.
  void Seed(double seed);

  // Next tempered 32-bit word.
  uint32_t NextWord();

  // Next number r = word * 2^-32, so 0 <= r < 1; n = 0 returns the last result again
  // without drawing (0.0 before the first draw).
  double Next(float n);

  // The low 32 bits of the seed's whole part, as used by Seed.
  static uint32_t SeedWord(double seed);

 private:
  void Regenerate();

  std::array<uint32_t, kStateWords> state_{};
  int32_t index_ = kStateWords;
  double last_ = 0.0;
};

// A seed that SeedRandom uses in place of the one it is given, so that a scripted game repeats
// exactly (tests, and the browser page's #seed= for its tests); nullopt restores the clock.
void FixSeed(std::optional<double> seed);

}  // namespace layer

// SPDX-License-Identifier: MIT
#include "system/random_generator.h"

namespace layer {
namespace {

constexpr uint32_t kFillMultiplier = 1664525u;
constexpr uint32_t kFillIncrement = 1013904223u;
constexpr int32_t kShift = 397;
constexpr uint32_t kTwistMatrix = 0x9908B0DFu;
constexpr uint32_t kUpperBit = 0x80000000u;
constexpr uint32_t kLowerBits = 0x7FFFFFFFu;
constexpr double kTwoToMinus32 = 1.0 / 4294967296.0;

}  // namespace

uint32_t RandomGenerator::SeedWord(double seed) {
  // Every double in [-2^63, 2^63) truncates to a value that fits a signed 64-bit integer;
  // the comparisons are false for NaN.
  constexpr double kTwoTo63 = 9223372036854775808.0;
  if (!(seed >= -kTwoTo63 && seed < kTwoTo63)) return 0;
  const auto whole = static_cast<int64_t>(seed);
  return static_cast<uint32_t>(static_cast<uint64_t>(whole));
}

void RandomGenerator::Seed(double seed) {
  state_[0] = SeedWord(seed);
  for (int32_t i = 1; i < kStateWords; ++i) {
    state_[i] = kFillMultiplier * state_[i - 1] + kFillIncrement;  // mod 2^32 by wrapping
  }
  index_ = kStateWords;
}

// In place, k ascending: words from k = 227 on mix in words already regenerated in this pass.
void RandomGenerator::Regenerate() {
  for (int32_t k = 0; k < kStateWords; ++k) {
    const uint32_t y = (state_[k] & kUpperBit) | (state_[(k + 1) % kStateWords] & kLowerBits);
    state_[k] = state_[(k + kShift) % kStateWords] ^ (y >> 1) ^ ((y & 1u) != 0 ? kTwistMatrix : 0u);
  }
  index_ = 0;
}

uint32_t RandomGenerator::NextWord() {
  if (index_ >= kStateWords) Regenerate();
  uint32_t y = state_[index_++];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9D2C5680u;
  y ^= (y << 15) & 0xEFC60000u;
  y ^= y >> 18;
  return y;
}

double RandomGenerator::Next(float n) {
  if (n == 0.0f) return last_;
  last_ = NextWord() * kTwoToMinus32;
  return last_;
}

}  // namespace layer

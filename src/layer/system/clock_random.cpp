// SPDX-License-Identifier: MIT
// The clock that seeds the random generator, and the program's one random generator.
//
// The clock is std::chrono::steady_clock, a monotonic high-resolution counter that is always
// available, so no slower fallback clock is needed. The generator belongs to the game's
// thread alone and has no lock.
#include <chrono>

#include "layer.h"
#include "system/random_generator.h"

namespace layer {
namespace {

RandomGenerator& Generator() {
  static RandomGenerator generator;
  return generator;
}

std::optional<double>& FixedSeed() {
  static std::optional<double> seed;
  return seed;
}

}  // namespace

double ClockSeconds() {
  using Seconds = std::chrono::duration<double>;
  return std::chrono::duration_cast<Seconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void FixSeed(std::optional<double> seed) {
  FixedSeed() = seed;
}

void SeedRandom(double seed) {
  Generator().Seed(FixedSeed().value_or(seed));
}

double NextRandom(float n) {
  return Generator().Next(n);
}

}  // namespace layer

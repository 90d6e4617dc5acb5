// SPDX-License-Identifier: MIT
// The program's one random generator and its test seed. The clock that seeds it is the
// platform's (steady_clock.cpp, browser_clock.cpp). The generator belongs to the game's
// thread alone and has no lock.
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

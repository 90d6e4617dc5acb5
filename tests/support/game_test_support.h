// SPDX-License-Identifier: MIT
// Shared helpers of the game's tests: a fixture whose EndProgram unwinds the test instead of
// ending the process, input injection into the headless back-end, and reading the board back
// from the framebuffer.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

#include "game/board.h"
#include "input/window_message.h"
#include "layer/layer.h"
#include "testing/test_seams.h"

namespace game_test {

// Thrown by the EndProgram hook so that a test unwinds out of the game.
struct ProgramEnded {
  int32_t status;
};

// Runs f; the status it ended the program with, or nothing when it returned.
template <typename F>
std::optional<int32_t> EndStatusOf(F&& f) {
  try {
    f();
  } catch (const ProgramEnded& ended) {
    return ended.status;
  }
  return std::nullopt;
}

// A message with the pointer inside the drawing area.
inline layer::WindowMessage Message(layer::MessageKind kind) {
  layer::WindowMessage message;
  message.kind = kind;
  message.pointer_inside = true;
  return message;
}

inline void Inject(const layer::WindowMessage& message) {
  layer::testing::Headless()->Inject(message);
}

inline void PressButtonAt(int32_t x, int32_t y) {
  layer::WindowMessage move = Message(layer::MessageKind::kMouseMove);
  move.x = x;
  move.y = y;
  Inject(move);
  layer::WindowMessage down = Message(layer::MessageKind::kButtonDown);
  down.button = 1;
  Inject(down);
}

inline void ReleaseButton() {
  layer::WindowMessage up = Message(layer::MessageKind::kButtonUp);
  up.button = 1;
  Inject(up);
}

inline void TypeKey(char key = 'x') {
  layer::WindowMessage typed = Message(layer::MessageKind::kCharacter);
  typed.character = static_cast<uint8_t>(key);
  Inject(typed);
}

// Types a key and waits until the window thread has put it into the key buffer.
inline void TypeKeyAndWait(char key = 'x') {
  TypeKey(key);
  layer::testing::WaitForPasses(2);
}

// A draw from 1 to n as the generator gives it, computed here from the layer directly.
inline int32_t Draw(int32_t n) {
  return static_cast<int32_t>(std::floor(layer::NextRandom(1.0f) * n + 1.0));
}

// The whole framebuffer, row by row.
inline std::vector<uint32_t> Snapshot() {
  std::vector<uint32_t> pixels;
  pixels.reserve(651 * 651);
  for (int32_t y = 0; y < 651; ++y) {
    for (int32_t x = 0; x < 651; ++x) pixels.push_back(layer::testing::FramebufferPixel(x, y));
  }
  return pixels;
}

// Number of pixels in which two snapshots differ (0 for identical screens).
inline int64_t DifferingPixels(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  if (a.size() != b.size()) return -1;
  int64_t count = 0;
  for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i] ? 1 : 0;
  return count;
}

// Ring centres of the cells as the board picture lays them out.
inline int32_t CentreX(int32_t cell) {
  return 104 + 221 * ((cell - 1) % 3);
}
inline int32_t CentreY(int32_t cell) {
  return 104 + 221 * ((cell - 1) / 3);
}

// The colour of the cell's ring at its topmost pixel, which no other mark and no banner row
// ever covers.
inline uint32_t RingTopPixel(int32_t cell) {
  return layer::testing::FramebufferPixel(CentreX(cell), CentreY(cell) - 104);
}
inline bool ShowsRing(int32_t cell) {
  const uint32_t pixel = RingTopPixel(cell);
  return pixel == 0x0000AA || pixel == 0xAA0000;
}
inline int32_t RingsShown() {
  int32_t rings = 0;
  for (int32_t cell = 1; cell <= 9; ++cell) rings += ShowsRing(cell) ? 1 : 0;
  return rings;
}

// Whether both diagonals of the cell's 209 x 209 square are black at several points.
inline bool ShowsCross(int32_t cell) {
  const int32_t left = CentreX(cell) - 104;
  const int32_t top = CentreY(cell) - 104;
  for (int32_t i : {5, 40, 100, 170, 203}) {
    if (layer::testing::FramebufferPixel(left + i, top + i) != 0) return false;
    if (layer::testing::FramebufferPixel(left + i, top + 208 - i) != 0) return false;
  }
  return true;
}

// Fixture: the EndProgram hook throws ProgramEnded, every screen opens on the headless
// back-end and the game state starts reset.
class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    layer::testing::UseHeadlessBackend();
    layer::testing::SetEndProgramHook([](int32_t status) { throw ProgramEnded{status}; });
    game::ResetState();
  }
  void TearDown() override {
    layer::testing::SetEndProgramHook(nullptr);
    layer::testing::CloseScreenForTest();
  }

  static void OpenBoardScreen() { ASSERT_EQ(layer::OpenScreen(651, 651, 32, 0, 0, 0), 0); }

  // An empty board with the given marks, MoveCount counting them, no result yet.
  static void SetPosition(std::initializer_list<int32_t> crosses,
                          std::initializer_list<int32_t> rings) {
    for (int32_t& cell : game::Board) cell = game::kEmpty;
    for (int32_t& sum : game::LineSum) sum = 0;
    for (int32_t cell : crosses) game::Board[cell] = game::kCross;
    for (int32_t cell : rings) game::Board[cell] = game::kRing;
    game::MoveCount = static_cast<int32_t>(crosses.size() + rings.size());
    game::GameResult = game::kNoLine;
  }
};

}  // namespace game_test

// SPDX-License-Identifier: MIT
// Plays a scripted game on the headless back-end and writes what the window showed, for the
// browser tests to compare the page's canvas with, pixel for pixel.
//
//   web_reference_game SEED OUTPUT [X,Y ...]
//
// The game runs as the program would, with its random generator seeded by SEED; each X,Y is
// a left click (the first picks the opponent). OUTPUT receives the shown pixels after the
// last click as 651 x 651 RGB byte triples, rows from the top.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "game/flow.h"
#include "layer/layer.h"
#include "system/random_generator.h"
#include "testing/test_seams.h"

namespace {

constexpr int32_t kSize = 651;

struct ProgramEnded {};

void Sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

layer::WindowMessage Message(layer::MessageKind kind, int32_t x, int32_t y) {
  layer::WindowMessage message;
  message.kind = kind;
  message.pointer_inside = true;
  message.x = x;
  message.y = y;
  message.button = 1;
  return message;
}

// Waits until the game has opened its screen (the headless back-end exists).
layer::HeadlessBackend* AwaitScreen() {
  for (int i = 0; i < 500; ++i) {
    if (layer::HeadlessBackend* backend = layer::testing::Headless()) return backend;
    Sleep(10);
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s SEED OUTPUT X,Y [X,Y ...]\n", argv[0]);
    return 2;
  }
  layer::FixSeed(std::strtod(argv[1], nullptr));
  layer::testing::UseHeadlessBackend();
  layer::testing::SetEndProgramHook([](int32_t) { throw ProgramEnded{}; });
  std::thread game([] {
    try {
      game::RunProgram();
    } catch (const ProgramEnded&) {
    }
  });
  layer::HeadlessBackend* window = AwaitScreen();
  if (window == nullptr) {
    std::fprintf(stderr, "the game opened no screen\n");
    std::_Exit(1);
  }
  Sleep(200);  // the menu is shown
  for (int i = 3; i < argc; ++i) {
    int32_t x = 0;
    int32_t y = 0;
    if (std::sscanf(argv[i], "%d,%d", &x, &y) != 2) return 2;
    window->Inject(Message(layer::MessageKind::kMouseMove, x, y));
    window->Inject(Message(layer::MessageKind::kButtonDown, x, y));
    Sleep(100);
    window->Inject(Message(layer::MessageKind::kButtonUp, x, y));
    Sleep(i == 3 ? 500 : 150);  // after the menu, the game pauses 200 ms
  }
  layer::testing::WaitForPasses(3);
  std::vector<unsigned char> rgb;
  rgb.reserve(static_cast<size_t>(kSize) * kSize * 3);
  for (int32_t y = 0; y < kSize; ++y) {
    for (int32_t x = 0; x < kSize; ++x) {
      const uint32_t pixel = window->ShownPixel(x, y);
      rgb.push_back(static_cast<unsigned char>(pixel >> 16));
      rgb.push_back(static_cast<unsigned char>(pixel >> 8));
      rgb.push_back(static_cast<unsigned char>(pixel));
    }
  }
  std::ofstream(argv[2], std::ios::binary)
      .write(reinterpret_cast<const char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
  // A key ends the game (on the end screen, in the turn loop or at the menu alike).
  layer::WindowMessage key;
  key.kind = layer::MessageKind::kCharacter;
  key.character = 'x';
  window->Inject(key);
  game.join();
  std::_Exit(0);
}

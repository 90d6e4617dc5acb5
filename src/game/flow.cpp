// SPDX-License-Identifier: MIT
#include "flow.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "board.h"
#include "geometry.h"
#include "layer/layer.h"
#include "opponent.h"
#include "result.h"
#include "words.h"

namespace game {
namespace {

constexpr int32_t kScreenSize = 651;
constexpr int32_t kLeftButtonAlone = 1;
constexpr int32_t kChoicePause_ms = 200;
constexpr int32_t kPlainSleep = 1;

// Polls the mouse into the game's copies; wheel and confinement are dropped.
void PollMouse() {
  int32_t wheel = 0;
  int32_t confinement = 0;
  layer::QueryMouse(MouseX, MouseY, &wheel, &MouseButtons, &confinement);
}

void SetWhiteForeground() {
  constexpr int32_t kKeepBackground = 2;
  layer::SetColour(0xFFFFFF, 0, kKeepBackground);
}

// Any key ends the program at once.
void EndOnKey() {
  if (!layer::ReadKey().empty()) layer::EndProgram(0);
}

// Each picture gets its own buffer, held for the rest of the run. Should the procedure run
// again in the same process, the buffer it made before is released first.
void ShowPicture(layer::ImageBuffer*& held, std::string_view file_name) {
  if (held != nullptr) layer::ReleaseImage(held);
  constexpr uint32_t kIgnoredColour = 0;  // the default fill is used instead
  constexpr int32_t kScreenDepth = 0;
  held = layer::CreateImage(kScreenSize, kScreenSize, kIgnoredColour, kScreenDepth,
                            layer::kDefaultFill);
  if (held == nullptr) return;
  layer::LoadPicture(layer::ProgramDirectory() + "/" + std::string(file_name), held);
  layer::PutImage(0, 0, held);
}

layer::ImageBuffer* menu_picture = nullptr;
layer::ImageBuffer* board_picture = nullptr;

}  // namespace

void ShowMenuPicture() {
  ShowPicture(menu_picture, "Menu.Vadi");
}
void ShowBoardPicture() {
  ShowPicture(board_picture, "Vadi.Vadi");
}

void StartUp() {
  ResetState();
  layer::SeedRandom(layer::ClockSeconds());
  if (layer::OpenScreen(kScreenSize, kScreenSize, 32, 0, 0, 0) != 0) {
    // Without a window no click or key could ever arrive: say so instead of polling forever.
    std::fputs("xmas-tictactoe: cannot open a window: no display available\n", stderr);
    layer::EndProgram(1);
  }
  layer::ClearScreen(layer::kClearWholeScreen);
  ShowMenuPicture();
  TellMenu();
}

bool MenuPass() {
  PollMouse();
  SetWhiteForeground();
  if (MouseButtons == kLeftButtonAlone) {
    const int32_t chosen = OpponentAt(MouseX, MouseY);
    if (chosen > 0) Opponent = chosen;
  }
  if (Opponent > 0) return true;
  EndOnKey();
  return false;
}

void RunMenuLoop() {
  while (!MenuPass()) layer::AwaitNextPass();
}

void StartGame() {
  layer::SleepMs(kChoicePause_ms, kPlainSleep);
  ShowBoardPicture();
  FirstMover = DrawFromOneTo(2);
  TellStart();
  if (FirstMover == 2) ComputerMove();
}

void PlayCross(CellIndex cell) {
  MarkCross(cell);
  ++MoveCount;
  ComputerMove();
}

bool TurnPass() {
  if (MoveCount > 8) EndScreen();
  PollMouse();
  bool placed = false;
  if (MouseButtons == kLeftButtonAlone) {
    SetWhiteForeground();
    // Click areas do not overlap, so one poll places at most one cross.
    for (CellIndex cell = 1; cell <= kCellCount; ++cell) {
      if (InClickArea(cell, MouseX, MouseY) && IsFree(cell)) {
        PlayCross(cell);
        placed = true;
      }
    }
  }
  EndOnKey();
  return placed;
}

void RunTurnLoop() {
  for (;;) {
    if (!TurnPass()) layer::AwaitNextPass();
  }
}

void RunProgram() {
  StartUp();
  RunMenuLoop();
  StartGame();
  RunTurnLoop();
}

}  // namespace game

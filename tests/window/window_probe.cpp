// SPDX-License-Identifier: MIT
// A window for the window tests: the layer's screen with a known picture, reporting on
// stdout every change of the mouse state and every key it reads. The key q ends it.
//
// Picture: white with the top byte clear (0x00FFFFFF) everywhere, row 10 black with the top
// byte clear (0x00000000), row 20 0x00123456, row 650 0x00ABCDEF.
#include <cstdio>
#include <string>

#include "layer/layer.h"

int main() {
  if (layer::OpenScreen(651, 651, 32, 0, 0, 0) != 0) {
    std::fprintf(stderr, "window_probe: no window\n");
    return 1;
  }
  layer::SetColour(0x00FFFFFF, 0x00FFFFFF, 0);
  layer::ClearScreen(layer::kClearWholeScreen);
  layer::DrawLine(0, 10, 650, 10, 0x00000000, 0, 0xFFFF, 0);
  layer::DrawLine(0, 20, 650, 20, 0x00123456, 0, 0xFFFF, 0);
  layer::DrawLine(0, 650, 650, 650, 0x00ABCDEF, 0, 0xFFFF, 0);
  layer::ScreenDescription screen;
  layer::ScreenInfo(screen);
  std::printf("ready %s\n", screen.backend.c_str());
  std::fflush(stdout);

  int32_t last[4] = {-2, -2, -2, -2};
  while (true) {
    int32_t x = 0;
    int32_t y = 0;
    int32_t wheel = 0;
    int32_t buttons = 0;
    layer::QueryMouse(x, y, &wheel, &buttons);
    if (x != last[0] || y != last[1] || buttons != last[2] || wheel != last[3]) {
      std::printf("mouse %d %d %d %d\n", x, y, buttons, wheel);
      last[0] = x;
      last[1] = y;
      last[2] = buttons;
      last[3] = wheel;
    }
    const std::string key = layer::ReadKey();
    if (!key.empty()) {
      std::printf("key");
      for (const char byte : key) std::printf(" %d", static_cast<unsigned char>(byte));
      std::printf("\n");
    }
    std::fflush(stdout);
    if (key == "q") layer::EndProgram(0);
    layer::AwaitNextPass();
  }
}

// SPDX-License-Identifier: MIT
// The Win32 back-end's window moved to monitors of other pixels per inch (WM_DPICHANGED as
// Windows sends it): the drawing area takes the new monitor's whole scale, lowered until the
// window fits the work area, the window goes where the system suggests, and pointer positions
// reach the board's pixels at the new scale. It needs a display: tests/windows/wine_dpi_test.sh
// runs it under Wine on a 2000 x 1400 screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <optional>

#include "screen/message_router.h"
#include "win32/win32_backend.h"

namespace {

TEST(Win32DpiChange, TheWindowTakesTheNewMonitorsScaleAndPointerPositionsFollowIt) {
  auto backend = layer::MakeWin32Backend();
  ASSERT_TRUE(backend->Open({"win32_dpi_change", 651, 651}));
  HWND window = FindWindowW(L"xmas-tictactoe-window", nullptr);
  ASSERT_NE(window, nullptr);
  // The pointer stays off the window: the moves the window system makes of it would mix with
  // the test's own.
  SetCursorPos(1999, 1399);
  const auto pump = [&](const layer::MessageSink& sink) {
    for (int pass = 0; pass < 5; ++pass) {
      backend->Pump(sink);
      Sleep(20);
    }
  };

  const struct {
    UINT dpi;
    int32_t scale;
  } cases[] = {
      {192, 2},  // 200 %
      {96, 1},   // back to 100 %
      {144, 1},  // 150 %: whole factors only
      {288, 2},  // 300 % would need 1953 rows of the 1400
      {48, 1},   // below 100 %
  };
  for (const auto& c : cases) {
    // A size the window must not take: its drawing area is whole board pixels.
    RECT suggested{40 + c.scale, 30, 140, 130};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    pump([](const layer::WindowMessage&) {});
    RECT client{};
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right - client.left, 651 * c.scale) << c.dpi << " dpi";
    EXPECT_EQ(client.bottom - client.top, 651 * c.scale) << c.dpi << " dpi";
    RECT placed{};
    ASSERT_TRUE(GetWindowRect(window, &placed));
    EXPECT_EQ(placed.left, suggested.left) << c.dpi << " dpi";
    EXPECT_EQ(placed.top, suggested.top) << c.dpi << " dpi";

    // The last window pixel of board pixel (500, 250) still belongs to it, as the router
    // scales it with the back-end's scale.
    PostMessageW(window, WM_MOUSEMOVE, 0,
                 MAKELPARAM(500 * c.scale + c.scale - 1, 250 * c.scale + c.scale - 1));
    std::optional<layer::WindowMessage> move;
    pump([&](const layer::WindowMessage& message) {
      if (message.kind == layer::MessageKind::kMouseMove) {
        move = layer::BoardMessage(message, true, backend->Scale());
      }
    });
    ASSERT_TRUE(move.has_value()) << c.dpi << " dpi";
    EXPECT_EQ(move->x, 500) << c.dpi << " dpi";
    EXPECT_EQ(move->y, 250) << c.dpi << " dpi";
  }
  backend->Close();
}

}  // namespace

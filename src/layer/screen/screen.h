// SPDX-License-Identifier: MIT
// The screen record shared by the layer's own files: framebuffer, row-change marks, the
// counted screen lock, the per-thread drawing state and the window thread.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "backends/backend.h"
#include "input/input_state.h"
#include "platform/wake_signal.h"
#include "screen/message_router.h"

namespace layer {

struct Screen {
  int32_t width = 0;
  int32_t height = 0;
  int32_t depth = 0;
  int32_t bytes_per_pixel = 0;
  int32_t pitch = 0;  // bytes per framebuffer row
  std::vector<uint8_t> framebuffer;
  std::vector<uint8_t> row_marks;  // 1 for a row drawn since the window thread last copied it
  float aspect = 1.0f;
  std::string title;
  uint64_t serial = 0;  // tells screens apart, so drawing states of an old screen are remade

  std::unique_ptr<Backend> backend;
  // What ScreenInfo reports of the back-end, kept by the window thread when the window opens:
  // the back-end's members run on that thread alone.
  std::string backend_name;
  int32_t refresh_rate = 0;
  InputState input;
  MessageRouter router;  // takes the back-end's messages to `input` (window thread only)
  // What the game told a screen reader since the last pass (see screen_reader.cpp).
  std::vector<std::string> sentences;
  std::optional<ScreenWords> words;
  std::thread window_thread;
  // Set once by StopWindowThread, which also wakes the window thread from its pause.
  std::atomic<bool> stop{false};
  std::mutex stop_mutex;
  std::condition_variable stop_requested;
  // While `quiet` is set the window thread sleeps until the window system has input or
  // `wake` is raised (by the first row mark, or by StopWindowThread).
  std::atomic<bool> quiet{false};
  WakeSignal wake;

  uint8_t* Row(int32_t y) { return framebuffer.data() + static_cast<size_t>(y) * pitch; }
};

// The counted screen lock: guards the framebuffer, the row marks, the input state and which
// screen is open.
std::recursive_mutex& ScreenLock();

// The open screen, or nullptr when none is open. Callers hold the screen lock for as long as
// they use the screen: CloseScreen takes the screen away under that lock.
Screen* CurrentScreen();

struct ClipRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;   // inclusive
  int32_t bottom = 0;  // inclusive
  bool Contains(int32_t x, int32_t y) const {
    return x >= left && x <= right && y >= top && y <= bottom;
  }
};

// Drawing state of the calling thread, made on its first use after OpenScreen.
struct DrawingState {
  uint32_t foreground = 0;
  uint32_t background = 0;
  ClipRect clip;
  uint64_t screen_serial = 0;
};
DrawingState& CurrentDrawingState(const Screen& screen);

// Rounds a coordinate to a pixel: halves away from zero, in double precision.
int32_t RoundCoordinate(float value);

// The colour a drawing call uses: the foreground when flags bit 31 is set.
uint32_t ChooseColour(const DrawingState& state, uint32_t colour, int32_t flags);

// Stores one pixel (the caller holds the lock and has clipped).
void PutPixel(Screen& screen, int32_t x, int32_t y, uint32_t colour);
// Fills pixels x1..x2 of row y (inclusive, clipped by the caller).
void FillSpan(Screen& screen, int32_t x1, int32_t x2, int32_t y, uint32_t colour);
// Marks rows y1..y2 as changed, clamped to the screen (the caller holds the lock).
void MarkRows(Screen& screen, int32_t y1, int32_t y2);
// Makes a quiet window thread run a pass soon (after a drawing, or words for a screen reader).
void WakeWindowThread(Screen& screen);

// Closes the open screen: stops and joins the window thread, which closes the window. The
// caller must not hold the screen lock (the window thread needs it to finish its pass).
void CloseScreen();

// ---- The window thread ----
// Runs on the screen's window thread: opens the window with the first back-end that can,
// reports whether one did, then refreshes the window and gathers input until stopped.
void RunWindowThread(Screen* screen, BackendList backends, std::promise<bool> opened);
// Starts the screen's refresh passes: opens the window with the first back-end that can and,
// where there are threads, starts the window thread. False when no back-end opened.
bool StartWindowThread(Screen& screen, BackendList backends);
// Sleeps without holding any lock while the window keeps being refreshed; where there is no
// window thread, the sleep runs the refresh passes itself.
void PauseMs(int32_t milliseconds);
// The pause of the key wait (SleepMs mode 0) between two looks at the key-arrival flag, at
// most `step_ms`; `endless` when the wait has no limit. Where the game's thread runs the
// passes itself (the browser) a key can only arrive in one of its passes, so an endless wait
// pauses there until a pass has handed over input, and the page meanwhile offers its own way
// on for people without a keyboard.
void PauseInKeyWait(int32_t step_ms, bool endless);
// Tells the window thread to stop and joins it (the screen lock must not be held).
void StopWindowThread(Screen& screen);
// Keep the waits below informed of a screen's opening and closing.
void NoteScreenOpened();
void NoteScreenClosed();
// Waits until the window thread has finished `count` passes that began after this call, a
// screen has closed, or
// `timeout` has passed. Safe from any thread, also while another one closes the screen.
void AwaitWindowPasses(int32_t count, std::chrono::milliseconds timeout);

// Replaces the back-ends the next OpenScreen tries (tests use the headless one).
void SetBackendFactory(std::function<BackendList()> factory);

}  // namespace layer

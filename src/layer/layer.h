// SPDX-License-Identifier: MIT
// The graphics, input and timing layer: everything the game draws and reads through.
//
// One process has one screen: a window whose drawing area is backed by a framebuffer of
// 32-bit pixels 0xAARRGGBB (the window shows only the low 24 bits). Drawing writes into the
// framebuffer; a window thread copies changed rows to the window about every 10 ms and feeds
// the mouse state and the key buffer. Coordinates are floats in pixels, x to the right and
// y downwards from the top-left pixel, rounded to whole pixels with halves away from zero.
// Operations return a status: 0 for success, a small positive code for failure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace layer {

// ---- Screen and drawing ---------------------------------------------------------------

// ClearScreen mode that clears the whole screen to the background colour.
inline constexpr int32_t kClearWholeScreen = static_cast<int32_t>(0xFFFF0000u);
// Flags bit 31: draw with the foreground colour instead of the colour argument.
inline constexpr int32_t kUseForegroundColour = static_cast<int32_t>(0x80000000u);
// The end angle that asks DrawCircle for a whole ring (the float with bits 0x40C90FDC).
inline constexpr float kFullCircle = 6.283186f;

// Opens the window and its framebuffer; 0 on success, 1 on bad arguments (a depth other than
// 24 or 32 among them: the window shows 32-bit pixels only) or no display. Pages, flags and
// the refresh rate are accepted and have no effect: one page, a framed window, no preference.
int32_t OpenScreen(int32_t width, int32_t height, int32_t depth, int32_t pages, int32_t flags,
                   int32_t refresh_rate);
// Sets the whole factor (1..8) the next window shows the framebuffer enlarged by, or 0 to let
// the environment and the desktop choose; 1 for a value outside 0..8.
int32_t SetWindowScale(int32_t scale);
// The window scale a text names, as --scale and XMAS_TICTACTOE_SCALE write it: one digit 1 to
// 8 alone; 0 for any other text.
int32_t ParseWindowScale(std::string_view text);
// Fills the screen with the background colour (mode kClearWholeScreen).
void ClearScreen(int32_t mode);
// Sets foreground/background (flags bit 0: keep foreground, bit 1: keep background);
// returns the previous foreground colour.
uint32_t SetColour(uint32_t foreground, uint32_t background, int32_t flags);
// Draws a straight line (type 0; other types draw nothing) with a 16-bit on/off style whose
// pixels are counted from the first end point after clipping.
void DrawLine(float x1, float y1, float x2, float y2, uint32_t colour, int32_t type, uint32_t style,
              int32_t flags);
// Draws an ellipse outline (fill 0) or filled ellipse; start 0 and end kFullCircle ask for the
// whole shape, aspect 0 means the screen's own pixel aspect.
void DrawCircle(float x, float y, float radius, uint32_t colour, float aspect, float start,
                float end, int32_t fill, int32_t flags);
// Writes one line of text in the built-in 8x8 font, transparent background; 1 without text.
int32_t DrawText(float x, float y, int32_t flags, std::optional<std::string_view> text,
                 uint32_t colour);

struct ScreenDescription {
  int32_t width = 0;
  int32_t height = 0;
  int32_t depth = 0;
  int32_t bytes_per_pixel = 0;
  int32_t pitch = 0;
  int32_t refresh_rate = 0;
  std::string backend;  // name of the display back-end in use
};
// Describes the open screen; 1 when no screen is open.
int32_t ScreenInfo(ScreenDescription& out);

// ---- Image buffers and picture files --------------------------------------------------

// One block: a 32-byte header followed by pixel rows padded to multiples of 16 bytes.
struct ImageBuffer;

// CreateImage flags bit 31: ignore the colour and fill with the default 0xFFFF00FF.
inline constexpr uint32_t kDefaultFill = 0x80000000u;

// Makes a buffer of width x height pixels filled with colour; nullptr on failure
// (status 1 bad call or no screen, 4 out of memory).
ImageBuffer* CreateImage(int32_t width, int32_t height, uint32_t colour, int32_t depth,
                         uint32_t flags, int32_t* status = nullptr);
// Frees a buffer's whole block.
void ReleaseImage(ImageBuffer* image);
// Fills image from a BMP or raw picture file; 0 ok, 1 bad call, 2 cannot open, 3 bad file.
int32_t LoadPicture(std::string_view file_name, ImageBuffer* image);
// Copies the whole image onto the screen with its top-left pixel at (x, y), clipped.
int32_t PutImage(float x, float y, const ImageBuffer* image);
// From now on a LoadPicture that fails writes one line on stderr naming the file and why.
void ReportPictureFailures(bool report);
// The directory holding the program's executable, without a trailing separator.
std::string ProgramDirectory();

// ---- What a screen reader is told -------------------------------------------------------

// A part of the screen a screen reader can choose: its rectangle in pixels and its name.
struct ScreenControl {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::string label;
};
// Tells a screen reader one short sentence, after those before it (the browser only).
void Announce(std::string_view sentence);
// Names the screen and its controls, each chosen as a left click at its centre (the browser only).
void DescribeScreen(std::string_view name, const std::vector<ScreenControl>& controls);

// ---- Input, time, chance and ending -----------------------------------------------------

// Latest mouse state; 1 and -1 in every given output when the window is inactive or the
// pointer is outside the drawing area. Buttons: 1 left, 2 right, 4 middle, 8/16 extras.
// Confinement is 0 otherwise: nothing confines the pointer to the window.
int32_t QueryMouse(int32_t& x, int32_t& y, int32_t* wheel = nullptr, int32_t* buttons = nullptr,
                   int32_t* confinement = nullptr);
// Takes the oldest key: "" for none, one byte for a character, "\xFF" + b for other keys.
std::string ReadKey();
// Mode 1: plain sleep. Milliseconds -1 with mode 0: wait until a key arrives (key stays).
int32_t SleepMs(int32_t milliseconds, int32_t mode);
// Seconds from a monotonic high-resolution clock.
double ClockSeconds();
// Seeds the random generator (the seed is truncated to a whole number).
void SeedRandom(double seed);
// Next random number r with 0 <= r < 1; n = 0 repeats the last result.
double NextRandom(float n);
// Blocks until the window thread has handed over input (mouse, keys, activation, close) that
// arrived since this call last returned on the calling thread, or at most 500 ms (in the
// browser, where nothing but input can change, until input), so that poll loops sleep instead
// of spinning: query, then await, and no change is missed.
void AwaitNextPass();
// Runs the exit-time handlers (closing the window) and ends the process with status.
[[noreturn]] void EndProgram(int32_t status);
// Makes stdout and stderr reach the terminal the program was started from, where the system
// does not connect them by itself (a windowed program on Windows started from a console).
void ConnectTextOutput();

}  // namespace layer

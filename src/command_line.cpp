// SPDX-License-Identifier: MIT
#include "command_line.h"

#include "layer/layer.h"

#ifndef XMAS_VERSION
#error "XMAS_VERSION must name the project's version"
#endif

namespace command_line {
namespace {

constexpr std::string_view kScaleOption = "--scale";

Request BadUsage(std::string problem) {
  Request request;
  request.action = Action::kBadUsage;
  request.problem = std::move(problem);
  return request;
}

}  // namespace

Request Parse(std::span<const std::string_view> arguments) {
  Request request;
  bool help = false;
  bool version = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      help = true;
    } else if (argument == "--version") {
      version = true;
    } else if (argument == kScaleOption || argument.starts_with("--scale=")) {
      std::string_view value;
      if (argument == kScaleOption) {
        if (i + 1 == arguments.size()) return BadUsage("option '--scale' needs a value 1 to 8");
        value = arguments[++i];
      } else {
        value = argument.substr(kScaleOption.size() + 1);
      }
      request.scale = layer::ParseWindowScale(value);
      if (request.scale == 0) {
        return BadUsage("invalid window scale '" + std::string(value) + "' (use 1 to 8)");
      }
    } else if (argument.starts_with("-")) {
      return BadUsage("unknown option '" + std::string(argument) + "'");
    } else {
      return BadUsage("unexpected argument '" + std::string(argument) + "'");
    }
  }
  if (help)
    request.action = Action::kHelp;
  else if (version)
    request.action = Action::kVersion;
  return request;
}

std::string UsageLine() {
  return "Usage: xmas-tictactoe [--scale N] [--help] [--version]\n";
}

std::string HelpText() {
  return UsageLine() +
         "\n"
         "Noughts and crosses at Christmas: you play the black crosses against one of four\n"
         "computer opponents, who play the blue rings.\n"
         "\n"
         "How to play:\n"
         "  Click a corner of the menu to choose your opponent: Christkind (top left),\n"
         "  Knecht Ruprecht (top right), Nikolaus (bottom right) or Engel (bottom left).\n"
         "  Who moves first is drawn at random. Click a free square to place a cross;\n"
         "  three in a row, column or diagonal wins. The banner says how it ended:\n"
         "  GEWONNEN (you won), VERLOREN (you lost) or REMIS (a draw). One run plays one\n"
         "  game.\n"
         "\n"
         "Keys:\n"
         "  Any key, or the window's close button, ends the game at once; on the end\n"
         "  screen it ends the program.\n"
         "\n"
         "Options:\n"
         "  --scale N   show the window N times enlarged, N from 1 to 8 (default: the\n"
         "              desktop's scale, or XMAS_TICTACTOE_SCALE, as far as it fits)\n"
         "  --help      print this help and exit\n"
         "  --version   print the version and exit\n";
}

std::string VersionText() {
  return "xmas-tictactoe " XMAS_VERSION "\n";
}

}  // namespace command_line

// SPDX-License-Identifier: MIT
// The program's command line: what it asks for, and the texts it prints.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace command_line {

enum class Action { kPlay, kHelp, kVersion, kBadUsage };

struct Request {
  Action action = Action::kPlay;
  int32_t scale = 0;    // 1..8 from --scale, 0 for automatic
  std::string problem;  // with kBadUsage: what is wrong, for example "unknown option '-x'"
};

// Reads the arguments after the program's name. --help and --version win over everything
// else that is well formed; the first bad argument makes the request kBadUsage.
Request Parse(std::span<const std::string_view> arguments);

// One line: the program's synopsis, ending in a newline.
std::string UsageLine();
// What --help prints: the game, how to play, keys, options.
std::string HelpText();
// What --version prints.
std::string VersionText();

}  // namespace command_line

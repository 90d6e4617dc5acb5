// SPDX-License-Identifier: MIT
// xmas-tictactoe: noughts and crosses against one of four Christmas opponents.
#include <cstdio>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "game/flow.h"
#include "layer/layer.h"

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const command_line::Request request = command_line::Parse(arguments);
  if (request.action != command_line::Action::kPlay) layer::ConnectTextOutput();
  switch (request.action) {
    case command_line::Action::kHelp:
      std::fputs(command_line::HelpText().c_str(), stdout);
      return 0;
    case command_line::Action::kVersion:
      std::fputs(command_line::VersionText().c_str(), stdout);
      return 0;
    case command_line::Action::kBadUsage:
      // One string written whole: printf's formatting would cost the browser's module 3 KB.
      std::fputs(("xmas-tictactoe: " + request.problem + "\n" + command_line::UsageLine()).c_str(),
                 stderr);
      return 2;
    case command_line::Action::kPlay:
      break;
  }
  layer::SetWindowScale(request.scale);
  layer::ReportPictureFailures(true);
  game::RunProgram();
}

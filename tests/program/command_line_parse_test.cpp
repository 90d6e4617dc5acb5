// SPDX-License-Identifier: MIT
// How the command line is read: the window scale in both spellings, and what makes it bad.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "command_line.h"

namespace {

command_line::Request Parse(std::vector<std::string_view> arguments) {
  return command_line::Parse(arguments);
}

TEST(CommandLine, ReadsTheScaleAndLetsHelpAndVersionWin) {
  EXPECT_EQ(Parse({}).action, command_line::Action::kPlay);
  EXPECT_EQ(Parse({}).scale, 0);
  EXPECT_EQ(Parse({"--scale", "3"}).scale, 3);
  EXPECT_EQ(Parse({"--scale=8"}).scale, 8);
  EXPECT_EQ(Parse({"--scale", "2", "--scale=1"}).scale, 1);
  EXPECT_EQ(Parse({"--scale", "2", "--help"}).action, command_line::Action::kHelp);
  EXPECT_EQ(Parse({"--version", "-h"}).action, command_line::Action::kHelp);
  EXPECT_EQ(Parse({"--version"}).action, command_line::Action::kVersion);
}

TEST(CommandLine, RejectsWhatItDoesNotKnow) {
  for (const std::vector<std::string_view>& arguments :
       std::vector<std::vector<std::string_view>>{{"--scale"},
                                                  {"--scale", "0"},
                                                  {"--scale", "9"},
                                                  {"--scale", "-1"},
                                                  {"--scale", "22"},
                                                  {"--scale="},
                                                  {"--scalex"},
                                                  {"--help", "--bogus"},
                                                  {"game"},
                                                  {"-"}}) {
    const command_line::Request request = Parse(arguments);
    EXPECT_EQ(request.action, command_line::Action::kBadUsage) << arguments.front();
    EXPECT_FALSE(request.problem.empty());
  }
}

}  // namespace

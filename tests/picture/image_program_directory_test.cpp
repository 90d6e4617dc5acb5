// SPDX-License-Identifier: MIT
// ProgramDirectory: the directory of the running executable, without a trailing separator.
#include <gtest/gtest.h>

#include <filesystem>

#include "layer/layer.h"

namespace {

TEST(ProgramDirectoryTest, HoldsTheRunningExecutable) {
  const std::string directory = layer::ProgramDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_NE(directory.back(), '/');
  EXPECT_EQ(directory.front(), '/');
  bool found = false;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    std::error_code error;
    found = found || std::filesystem::equivalent(entry.path(), "/proc/self/exe", error);
  }
  EXPECT_TRUE(found);
}

}  // namespace

// SPDX-License-Identifier: MIT
// UTF-8 (the layer's file names and titles) to and from UTF-16 (the Windows API's wide forms).
#pragma once

#include <string>
#include <string_view>

namespace layer {

std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace layer

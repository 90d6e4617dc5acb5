// SPDX-License-Identifier: MIT
// What the page tells a screen reader: the canvas's accessible name, buttons laid over the
// canvas for the controls (invisible, and letting every pointer event through to the canvas),
// and a polite live region for the sentences.
#pragma once

#include <string>
#include <vector>

#include "backends/backend.h"

namespace layer {

// Names the canvas and lays one button over each control; choosing a button queues a left
// click at the control's centre, as the canvas's pointer events queue one.
void DescribeOnPage(const ScreenWords& words);
// Replaces the live region's text with the sentences, one paragraph each.
void AnnounceOnPage(const std::vector<std::string>& sentences);
// Takes the buttons away (the page no longer listens).
void RemovePageControls();

}  // namespace layer

// SPDX-License-Identifier: MIT
// Self-checks of the pictures' layout rules, printed as a short report.
#pragma once

namespace pictures {

// Returns true when every check passes.
bool RunChecks();

}  // namespace pictures

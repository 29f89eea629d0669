// The simulated card's answer to each entry point, with the same name and
// types as the export that calls it (exports.cpp).
#pragma once

#include <cstdint>

namespace tolvane::sim {
#define TVN_FUNCTION(result, name, params, answer) result name params;
#include "cardlib/tvn_functions.h"
#undef TVN_FUNCTION
} // namespace tolvane::sim

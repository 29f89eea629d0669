// Declarations of the card driver library for programs that link it at load
// time (Flashmend, the stand-in library itself, tests that drive it directly).
// Kestrune binds the same functions at run time through binding.h instead.
#pragma once

#include <cstdint>

#include "tvn_call.h"

extern "C" {
#define TVN_FUNCTION(result, name, params, answer) result TVN_CALL name params;
#include "tvn_functions.h"
#undef TVN_FUNCTION
}

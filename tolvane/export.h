// What the stand-in library exports, in one place. On Windows the module
// definition made from the function lists at build time (exports.def) names
// the card and tvnsim_* functions, plainly whatever their calling convention,
// and nothing else: a program cannot tell it from the card maker's DLL. The
// control interface is exported only by the tests' build of the library.
// Elsewhere everything is hidden but what carries these.
#pragma once

#if defined(_WIN32)
#define TVN_EXPORT
#define TOLVANE_API
#else
#define TVN_EXPORT __attribute__((visibility("default")))
#define TOLVANE_API __attribute__((visibility("default")))
#endif

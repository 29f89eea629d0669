// How the card library's functions are called. The card maker's 32-bit
// Windows DLL exports them as __stdcall (the callee pops its arguments) under
// their plain names; on 64-bit Windows and elsewhere there is one C
// convention. Every declaration, function pointer type and definition of a
// card function (and of the stand-in's tvnsim_* functions) carries TVN_CALL,
// so that callers and the library cannot disagree.
#pragma once

#if defined(_WIN32) && !defined(_WIN64)
#define TVN_CALL __stdcall
#else
#define TVN_CALL
#endif

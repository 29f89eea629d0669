// Helpers that turn a parenthesised list of argument types from
// tvn_functions.h into a parameter list with names (a0, a1, ...) and into the
// matching argument list, so that wrappers can be generated from the types
// alone. The longest entry point takes seven arguments.
#pragma once

#define TVN_CAT_(a, b) a##b
#define TVN_CAT(a, b) TVN_CAT_(a, b)
#define TVN_COUNT_(t0, t1, t2, t3, t4, t5, t6, n, ...) n
#define TVN_COUNT(...) TVN_COUNT_(__VA_OPT__(__VA_ARGS__, ) 7, 6, 5, 4, 3, 2, 1, 0)

#define TVN_NAMED_0()
#define TVN_NAMED_1(t0) t0 a0
#define TVN_NAMED_2(t0, t1) t0 a0, t1 a1
#define TVN_NAMED_3(t0, t1, t2) t0 a0, t1 a1, t2 a2
#define TVN_NAMED_4(t0, t1, t2, t3) t0 a0, t1 a1, t2 a2, t3 a3
#define TVN_NAMED_5(t0, t1, t2, t3, t4) t0 a0, t1 a1, t2 a2, t3 a3, t4 a4
#define TVN_NAMED_6(t0, t1, t2, t3, t4, t5) t0 a0, t1 a1, t2 a2, t3 a3, t4 a4, t5 a5
#define TVN_NAMED_7(t0, t1, t2, t3, t4, t5, t6) t0 a0, t1 a1, t2 a2, t3 a3, t4 a4, t5 a5, t6 a6

#define TVN_ARGS_0()
#define TVN_ARGS_1(t0) a0
#define TVN_ARGS_2(t0, t1) a0, a1
#define TVN_ARGS_3(t0, t1, t2) a0, a1, a2
#define TVN_ARGS_4(t0, t1, t2, t3) a0, a1, a2, a3
#define TVN_ARGS_5(t0, t1, t2, t3, t4) a0, a1, a2, a3, a4
#define TVN_ARGS_6(t0, t1, t2, t3, t4, t5) a0, a1, a2, a3, a4, a5
#define TVN_ARGS_7(t0, t1, t2, t3, t4, t5, t6) a0, a1, a2, a3, a4, a5, a6

// TVN_NAMED (int16_t, double) -> int16_t a0, double a1
#define TVN_NAMED(...) TVN_CAT(TVN_NAMED_, TVN_COUNT(__VA_ARGS__))(__VA_ARGS__)
// TVN_ARGS (int16_t, double) -> a0, a1
#define TVN_ARGS(...) TVN_CAT(TVN_ARGS_, TVN_COUNT(__VA_ARGS__))(__VA_ARGS__)
// TVN_COMMA_ARGS (int16_t, double) -> , a0, a1   (nothing for ())
#define TVN_COMMA_ARGS(...) __VA_OPT__(, TVN_ARGS(__VA_ARGS__))

// VORN_ZERO_FILLED marks a large static object that starts out all zeros
// (a buffer, or a singleton built on first use), so that it takes no room in
// the program file. Windows programs are compiled with one data section per
// object, which lets the linker drop the tables nothing uses; but for that
// target the compiler then puts zero-filled objects among the initialised
// data, zeros and all. In the one zero-filled section they cost nothing.
// Only for objects whose initial bytes are all zero (no constant
// initialiser that the compiler would store).
#pragma once

#if defined(_WIN32)
#define VORN_ZERO_FILLED __attribute__((section(".bss")))
#else
#define VORN_ZERO_FILLED
#endif

#pragma once
// The interface of QuorvaneCore.dll, which Quorvane1.4.exe loads at start.
// Plain C functions with the C calling convention, so the names are the same
// in the 32-bit and the 64-bit library.
#ifdef QUORVANE_CORE_BUILD
#define QUORVANE_CORE_API extern "C" __declspec(dllexport)
#else
#define QUORVANE_CORE_API extern "C"
#endif

// 0 when the data module of size bytes is sound, otherwise a non-zero code
// naming what is wrong with it.
QUORVANE_CORE_API int __cdecl qvcore_check_module(const unsigned char* module, unsigned size);
using qvcore_check_module_fn = int(__cdecl*)(const unsigned char*, unsigned);

// The text under key as a zero-ended string in out, when it fits in capacity
// bytes. Returns the text's length (without the zero), or -1 when the module
// is not sound or has no such key.
QUORVANE_CORE_API int __cdecl qvcore_module_text(const unsigned char* module, unsigned size, const char* key,
                                                 char* out, unsigned capacity);
using qvcore_module_text_fn = int(__cdecl*)(const unsigned char*, unsigned, const char*, char*, unsigned);

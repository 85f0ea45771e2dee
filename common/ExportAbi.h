// Calling convention and visibility of the C exports of the project's libraries.
#pragma once

#ifdef _WIN32
// Exports are listed in each library's module-definition file, never with __declspec(dllexport),
// which would export the decorated 32-bit names as well.
#define WL_STDCALL __stdcall
#define WL_EXPORT
#else
#define WL_STDCALL
#define WL_EXPORT __attribute__((visibility("default")))
#endif

// A shared library loaded at run time (LoadLibrary or dlopen), for tests that fetch exports by name
// or ordinal the way late-binding callers do.
#pragma once

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace wenlock::testing {

class LoadedLibrary {
 public:
  explicit LoadedLibrary(const std::string& file) {
#ifdef _WIN32
    handle_ = LoadLibraryA(file.c_str());
#else
    handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
  }
  ~LoadedLibrary() {
    if (!handle_) return;
#ifdef _WIN32
    FreeLibrary(handle_);
#else
    dlclose(handle_);
#endif
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  bool loaded() const { return handle_ != nullptr; }

  template <typename Function>
  Function Get(const char* name) const {
#ifdef _WIN32
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle_, name)));
#else
    return reinterpret_cast<Function>(dlsym(handle_, name));
#endif
  }

#ifdef _WIN32
  template <typename Function>
  Function GetByOrdinal(unsigned ordinal) const {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(handle_, MAKEINTRESOURCEA(ordinal))));
  }
  HMODULE handle() const { return handle_; }

 private:
  HMODULE handle_ = nullptr;
#else
 private:
  void* handle_ = nullptr;
#endif
};

// File name of a project library as the build names it.
inline std::string SharedLibraryFile(const std::string& name) {
#ifdef _WIN32
  return name + ".dll";
#else
  return "lib" + name + ".so";
#endif
}

}  // namespace wenlock::testing

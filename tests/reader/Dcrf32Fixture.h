// A card image file and a trace file in a fresh folder, named by the variables the simulated
// dcrf32 library reads, for tests that go through the library in this process.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CardImage.h"
#include "LoadedLibrary.h"
#include "Platform.h"
#include "TestSupport.h"

namespace wenlock::testing {

inline void SetEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
  SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
#else
  if (value.empty()) {
    unsetenv(name);
  } else {
    setenv(name, value.c_str(), 1);
  }
#endif
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class Dcrf32Library : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEnvironment("WENLOCK_CARD_IMAGE", imagePath.string());
    SetEnvironment("WENLOCK_READER_TRACE", tracePath.string());
    previousPause = SetPauseHook([](unsigned) {});
  }
  void TearDown() override {
    SetEnvironment("WENLOCK_CARD_IMAGE", "");
    SetEnvironment("WENLOCK_READER_TRACE", "");
    SetPauseHook(previousPause);
  }
  void Issue(const sim::CardImage& image) { sim::SaveCardImage(imagePath.string(), image); }
  sim::CardImage Image() const { return sim::LoadCardImage(imagePath.string()); }
  std::vector<std::string> Trace() const { return Lines(ReadWholeFile(tracePath)); }

  ScopedCurrentDir folder;
  std::filesystem::path imagePath = folder.path() / "card.txt";
  std::filesystem::path tracePath = folder.path() / "trace.txt";
  PauseHook previousPause;
  LoadedLibrary library{std::string(WENLOCK_BIN_DIR) + "/" + SharedLibraryFile("dcrf32")};
};

}  // namespace wenlock::testing

// The simulated reader inside a test process: a reader table pointing at a ReaderModel on an
// in-memory card image, and a journal of every reader call and every pause in order. While an
// InProcessReader lives, Pause() records "pause(100)" instead of sleeping. One at a time.
#pragma once

#include <string>
#include <vector>

#include "CardImage.h"
#include "Platform.h"
#include "ReaderModel.h"
#include "TolvarDrv_Unit.h"

namespace wenlock::sim {

class InProcessReader {
 public:
  explicit InProcessReader(CardImage image = {});
  ~InProcessReader();
  InProcessReader(const InProcessReader&) = delete;
  InProcessReader& operator=(const InProcessReader&) = delete;

  // The reader table to hand the reader unit.
  const TolvarDrv& table() const;
  CardImage& image() { return image_; }
  const std::vector<std::string>& journal() const { return journal_; }
  void ClearJournal() { journal_.clear(); }

  // The reader answering the table's calls (for the table's trampolines).
  static ReaderModel& Current();

 private:
  CardImage image_;
  std::vector<std::string> journal_;
  ReaderModel model_;
  PauseHook previousPause_;
};

}  // namespace wenlock::sim

// The connection every transaction runs in, as the reader sees it: the exact calls and pauses of
// opening, priming, identifying and closing.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "ReaderTestSupport.h"

namespace wenlock {
namespace {

using namespace testing;
using Journal = std::vector<std::string>;

struct ConnectionRun {
  ConnectionStatus opened;
  std::optional<ConnectionStatus> identified;  // only asked when the opening succeeded
  std::int16_t cardType;
  Journal journal;
};

// One connection from opening to the final close, on a reader set up by `setUp`.
template <typename SetUp>
ConnectionRun RunConnection(SetUp&& setUp, const TolvarDrv* drv = nullptr) {
  sim::InProcessReader reader(sim::IssueM1Card(kSerial));
  setUp(reader.image());
  ConnectionRun run{};
  {
    ReaderConnection connection(drv ? *drv : reader.table());
    run.opened = connection.Open();
    if (run.opened == ConnectionStatus::kReady) run.identified = connection.Identify();
    run.cardType = connection.cardType();
  }
  run.journal = reader.journal();
  return run;
}

TEST(ReaderConnection, AnAbsentReaderCostsThreeOpeningsTwoPausesAndNoClose) {
  const auto run = RunConnection([](sim::CardImage& image) { image.faults.noReader = true; });
  EXPECT_EQ(run.opened, ConnectionStatus::kNoReader);
  EXPECT_EQ(run.journal, (Journal{kInitFails, kPause, kInitFails, kPause, kInitFails}));
}

TEST(ReaderConnection, OpensOnTheThirdAttempt) {
  const auto run = RunConnection([](sim::CardImage& image) { image.faults.initFailures = 2; });
  EXPECT_EQ(run.opened, ConnectionStatus::kReady);
  EXPECT_EQ(run.journal, (Journal{kInitFails, kPause, kInitFails, kPause, kInitOk, kPrimeOk, kPause,
                                  TypeRead("A3"), kExitOk}));
}

// Raises on the first dc_init, then answers as the simulated reader does.
std::int32_t WL_STDCALL InitRaisingOnce(std::int32_t port, std::int32_t baud) {
  static bool raised = false;
  if (!std::exchange(raised, true)) throw std::runtime_error("reader library failure");
  return sim::InProcessReader::Current().dc_init(port, baud);
}

TEST(ReaderConnection, ALibraryExceptionWhileOpeningIsOneFailedAttempt) {
  sim::InProcessReader reader(sim::IssueM1Card(kSerial));
  TolvarDrv raising = reader.table();
  raising.dc_init = InitRaisingOnce;
  {
    ReaderConnection connection(raising);
    EXPECT_EQ(connection.Open(), ConnectionStatus::kReady);
    EXPECT_EQ(connection.handle(), kHandle);
  }
  EXPECT_EQ(reader.journal(), (Journal{kPause, kInitOk, kPrimeOk, kExitOk}));
}

TEST(ReaderConnection, PrimingIsTriedTwice) {
  const auto once = RunConnection([](sim::CardImage& image) { image.faults.primingFailures = 1; });
  EXPECT_EQ(once.opened, ConnectionStatus::kReady);
  EXPECT_EQ(once.journal,
            (Journal{kInitOk, kPrimeFails, kPause, kPrimeOk, kPause, TypeRead("A3"), kExitOk}));

  // Failing twice ends the connection as "no reader", and the open handle is still closed.
  const auto twice = RunConnection([](sim::CardImage& image) { image.faults.primingFailures = 2; });
  EXPECT_EQ(twice.opened, ConnectionStatus::kNoReader);
  EXPECT_EQ(twice.journal, (Journal{kInitOk, kPrimeFails, kPause, kPrimeFails, kExitOk}));
}

TEST(ReaderConnection, TheCardTypeCodeDecidesTheCardType) {
  const struct {
    std::deque<std::string> codes;
    std::int16_t distinguished;
    ConnectionStatus status;
    std::int16_t cardType;
  } cases[] = {
      {{"A1"}, 161, ConnectionStatus::kCardRefused, -1},
      {{"A2"}, 162, ConnectionStatus::kReady, kEepromCard},
      {{"A3"}, 163, ConnectionStatus::kReady, kM1Card},
      {{"A4"}, 164, ConnectionStatus::kReady, kM1Card},
      {{"A5", "A3"}, 163, ConnectionStatus::kReady, kM1Card},
      {{"A5", "A2"}, 162, ConnectionStatus::kReady, kEepromCard},
      {{"A5", "A5"}, 165, ConnectionStatus::kCardRefused, -1},
      {{"A5", "fail", "fail", "fail"}, 165, ConnectionStatus::kCardRefused, -1},
      {{"a2"}, 2, ConnectionStatus::kCardRefused, -1},  // lower case: only the digit counts
      {{"fail", "A3"}, 163, ConnectionStatus::kReady, kM1Card},
      {{"fail", "fail", "fail"}, 0, ConnectionStatus::kCardRefused, -1},
      {{"00"}, 0, ConnectionStatus::kCardRefused, -1},
  };
  for (const auto& c : cases) {
    const auto codes = c.codes;
    const auto run = RunConnection([&](sim::CardImage& image) { image.faults.typeCodes = codes; });
    EXPECT_EQ(run.identified, c.status) << c.codes.front() << " of " << c.codes.size();
    EXPECT_EQ(run.cardType, c.cardType) << c.codes.front() << " of " << c.codes.size();

    OpenReader reader(sim::IssueM1Card(kSerial));
    reader.image().faults.typeCodes = codes;
    EXPECT_EQ(DistinguishCard_S3(reader.drv(), kHandle), c.distinguished)
        << c.codes.front() << " of " << c.codes.size();
  }
}

TEST(ReaderConnection, IdentificationPausesBeforeEveryRead) {
  const auto a5ThenA3 = RunConnection(
      [](sim::CardImage& image) { image.faults.typeCodes = {"A5", "A3"}; });
  EXPECT_EQ(a5ThenA3.journal, (Journal{kInitOk, kPrimeOk, kPause, TypeRead("A5"), kPause,
                                       TypeRead("A3"), kExitOk}));

  const auto a5Twice = RunConnection(
      [](sim::CardImage& image) { image.faults.typeCodes = {"A5", "A5"}; });
  EXPECT_EQ(a5Twice.journal, (Journal{kInitOk, kPrimeOk, kPause, TypeRead("A5"), kPause,
                                      TypeRead("A5"), kExitOk}));

  const auto lowerCase = RunConnection(
      [](sim::CardImage& image) { image.faults.typeCodes = {"a2"}; });
  EXPECT_EQ(lowerCase.journal, (Journal{kInitOk, kPrimeOk, kPause, TypeRead("a2"), kExitOk}));

  const auto unreadable = RunConnection(
      [](sim::CardImage& image) { image.faults.refusedMemoryOffsets = {1000}; });
  EXPECT_EQ(unreadable.journal, (Journal{kInitOk, kPrimeOk, kPause, kTypeReadFails, kPause,
                                         kTypeReadFails, kPause, kTypeReadFails, kExitOk}));
}

TEST(ReaderConnection, AnExtraCloseReachesTheLibraryAndTheFinalCloseStillFollows) {
  sim::InProcessReader reader(sim::IssueM1Card(kSerial));
  {
    ReaderConnection connection(reader.table());
    ASSERT_EQ(connection.Open(), ConnectionStatus::kReady);
    ASSERT_EQ(connection.Identify(), ConnectionStatus::kReady);
    reader.ClearJournal();
    connection.Close();
  }
  // The simulated reader refuses the second close of the same handle; its status is ignored.
  EXPECT_EQ(reader.journal(), (Journal{kExitOk, "dc_exit(17)=1"}));
}

TEST(ReaderConnection, TheFinalCloseFollowsAnExceptionInTheCardWork) {
  sim::InProcessReader reader(sim::IssueM1Card(kSerial));
  try {
    ReaderConnection connection(reader.table());
    ASSERT_EQ(connection.Open(), ConnectionStatus::kReady);
    reader.ClearJournal();
    throw std::runtime_error("card work failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(reader.journal(), (Journal{kExitOk}));
}

}  // namespace
}  // namespace wenlock

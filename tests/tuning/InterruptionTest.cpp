#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "TunedState.h"
#include "registry/ProgramKey.h"
#include "tuning/TuningRuns.h"

namespace zephtune {
namespace {

using testing::ApplyTunedState;
using testing::CaptureTunedState;
using testing::Differences;
using testing::ProgramValue;
using testing::TunedState;
using tuning::OptimiseChoices;
using tuning::OptimiseRegistry;
using tuning::RestoreChoices;
using tuning::RestoreRegistry;
using tuning::RunOutcome;

// The first choices leave out the connection entries and the desktop entries, which
// the second choices then write for the first time.
constexpr OptimiseChoices kFirst{8, 2, 0, 0};   // Windows 2000, dial-up
constexpr OptimiseChoices kSecond{2, 0, 1, 1};  // Windows 7, broadband
constexpr RestoreChoices kRestore{2, 0};

// Runs `run` with the run ended after its `operations`th registry operation.
RunOutcome CutAfter(int operations, const std::function<RunOutcome()>& run) {
  int done = 0;
  tuning::SetRegistryOperationHookForTesting([&](const tuning::RegistryOperation&) { return ++done < operations; });
  const RunOutcome outcome = run();
  tuning::SetRegistryOperationHookForTesting(nullptr);
  return outcome;
}

// "Restore" stands only over a whole backup set and an existing record.
void ExpectFlagOnlyOverACompleteBackup() {
  if (!ProgramValue(programkey::kRestore)) return;
  for (std::wstring_view name : testing::BackupSetNames()) {
    EXPECT_NE(ProgramValue(name), std::nullopt) << "\"Restore\" set without the saved copy of " << std::wstring(name);
  }
  EXPECT_TRUE(testing::KeyExists(programkey::kRoot, testing::RecordPath())) << "\"Restore\" set without a record";
}

class Interruption : public testing::TunedRegistryTest {
 protected:
  // An earlier state with values of every kind, some missing, and keys that the
  // optimisation has to create.
  void SetUp() override {
    TunedRegistryTest::SetUp();
    std::mt19937 random(20180101);
    before_ = testing::RandomState(random, Original());
  }

  void StartFromBefore() {
    ApplyTunedState(before_);
    testing::DeleteProgramKey();
  }

  void ExpectBefore(const char* what) {
    const std::string differences = Differences(before_, CaptureTunedState());
    EXPECT_TRUE(differences.empty()) << what << "\n" << differences;
  }

  // Cuts `run` after each of its operations in turn (after `prepare`), finishes with
  // the follow-ups taken in turn, and expects the earlier state back every time.
  void CutEverywhere(const std::function<void()>& prepare, const std::function<RunOutcome()>& run,
                     const std::vector<std::pair<const char*, std::function<void()>>>& followUps) {
    StartFromBefore();
    prepare();
    const int total = run().registryOperations;
    ASSERT_GT(total, 50);
    for (int cut = 1; cut < total; ++cut) {
      const auto& [label, followUp] = followUps[static_cast<std::size_t>(cut) % followUps.size()];
      SCOPED_TRACE(std::string(label) + ", cut after operation " + std::to_string(cut) + " of " + std::to_string(total));
      StartFromBefore();
      prepare();
      EXPECT_FALSE(CutAfter(cut, run).finished);
      ExpectFlagOnlyOverACompleteBackup();
      followUp();
      ExpectBefore(label);
      if (HasFailure()) return;
    }
  }

  TunedState before_;
};

void CleanRestore() {
  const RunOutcome outcome = RestoreRegistry(kRestore);
  EXPECT_TRUE(outcome.finished);
  EXPECT_EQ(outcome.failedOperations, 0);
  EXPECT_EQ(ProgramValue(programkey::kRestore), std::nullopt);
}

void CleanOptimise(const OptimiseChoices& choices) {
  const RunOutcome outcome = OptimiseRegistry(choices);
  EXPECT_TRUE(outcome.finished);
  EXPECT_EQ(outcome.failedOperations, 0);
  ExpectFlagOnlyOverACompleteBackup();
}

TEST_F(Interruption, OfTheFirstOptimisationIsUndoneByARestoreOrAFreshOptimisationAndRestore) {
  CutEverywhere([] {}, [] { return OptimiseRegistry(kFirst); },
                {{"restore", CleanRestore},
                 {"optimise with other choices, restore", [] {
                    CleanOptimise(kSecond);
                    CleanRestore();
                  }}});
}

TEST_F(Interruption, OfALaterOptimisationWithOtherChoicesIsUndoneByARestore) {
  CutEverywhere([] { CleanOptimise(kFirst); }, [] { return OptimiseRegistry(kSecond); },
                {{"restore", CleanRestore}});
}

TEST_F(Interruption, OfARestoreIsFinishedByAnotherRestoreOrAnOptimisationAndRestore) {
  CutEverywhere(
      [] {
        CleanOptimise(kFirst);
        CleanOptimise(kSecond);
      },
      [] { return RestoreRegistry(kRestore); },
      {{"restore again", CleanRestore},
       {"optimise, restore", [] {
          CleanOptimise(kFirst);
          CleanRestore();
        }}});
}

}  // namespace
}  // namespace zephtune

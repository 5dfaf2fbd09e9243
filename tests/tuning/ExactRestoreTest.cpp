#include <gtest/gtest.h>

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
using testing::RecordPath;
using testing::TunedRegistryTest;
using testing::TunedState;
using tuning::OptimiseChoices;
using tuning::OptimiseRegistry;
using tuning::RestoreChoices;
using tuning::RestoreRegistry;
using tuning::RunOutcome;

OptimiseChoices RandomChoices(std::mt19937& random) {
  return {static_cast<int>(random() % 11) - 1, static_cast<int>(random() % 9), static_cast<int>(random() % 3),
          static_cast<int>(random() % 2)};
}

void ExpectCleanRun(const RunOutcome& outcome, const char* what) {
  EXPECT_TRUE(outcome.finished) << what;
  EXPECT_EQ(outcome.failedOperations, 0) << what;
}

// Nothing of the backup is left once everything is back.
void ExpectNoBackupLeft() {
  EXPECT_EQ(ProgramValue(programkey::kRestore), std::nullopt);
  for (std::wstring_view name : testing::BackupSetNames()) {
    EXPECT_EQ(ProgramValue(name), std::nullopt) << "saved copy of " << std::wstring(name);
  }
  EXPECT_FALSE(testing::KeyExists(programkey::kRoot, RecordPath()));
}

class ExactRestore : public TunedRegistryTest {};

// Random earlier states of every tuned value and key, one or two optimisations with
// random choices, one restore: the registry must be exactly as it was.
TEST_F(ExactRestore, PutsBackEveryRandomEarlierStateByteForByte) {
  constexpr unsigned kSeeds = 60;
  for (unsigned seed = 1; seed <= kSeeds; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const TunedState before = testing::RandomState(random, Original());
    ApplyTunedState(before);
    testing::DeleteProgramKey();

    const OptimiseChoices first = RandomChoices(random);
    ExpectCleanRun(OptimiseRegistry(first), "first optimisation");
    const bool twice = seed % 3 != 0;
    const OptimiseChoices second = RandomChoices(random);
    if (twice) ExpectCleanRun(OptimiseRegistry(second), "second optimisation");
    const OptimiseChoices& last = twice ? second : first;

    const RestoreChoices restoreChoices{static_cast<int>(random() % 11) - 1, static_cast<int>(random() % 9)};
    const RunOutcome restored = RestoreRegistry(restoreChoices);
    ExpectCleanRun(restored, "restore");
    EXPECT_FALSE(restored.backupHeld);

    const std::string differences = Differences(before, CaptureTunedState());
    EXPECT_TRUE(differences.empty()) << differences;
    ExpectNoBackupLeft();
    // The choices of the last optimisation stay.
    EXPECT_EQ(ProgramValue(programkey::kInternetType), testing::DwordValue(static_cast<std::uint32_t>(last.connectionType)));
    EXPECT_EQ(ProgramValue(programkey::kProcessorType),
              testing::DwordValue(static_cast<std::uint32_t>(last.processorPosition)));
    EXPECT_EQ(ProgramValue(programkey::kSpeedSetting), testing::DwordValue(static_cast<std::uint32_t>(last.speedSetting)));
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace zephtune

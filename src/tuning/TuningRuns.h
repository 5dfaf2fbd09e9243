#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

namespace zephtune::tuning {

// The registry work of the optimise and restore runs, which the main window calls
// after the progress steps. Windows' own values are reached in the registry view
// Windows reads (the 64-bit one on 64-bit Windows); the program key stays in the view
// of the program's own bitness.

struct OptimiseChoices {
  int windowsListPosition = -1;
  int connectionType = 0;
  int processorPosition = 0;
  int speedSetting = 0;
};

struct RestoreChoices {
  int windowsListPosition = -1;
  int connectionType = 0;
};

struct RunOutcome {
  // Registry operations that did not take effect, and tuned values left alone because
  // their earlier state could not be recorded or trusted.
  int failedOperations = 0;
  int registryOperations = 0;
  // False when the run ended early: an unexpected error, or the test seam.
  bool finished = false;
  // "Restore" is set after the run: a complete backup is held.
  bool backupHeld = false;
};

// Stores the three choices, keeps the earlier state of every value it is about to tune
// (the backup set on the first run, and the restore record), marks the backup as held
// once all of that is saved, and writes the tweak catalogue for the choices.
RunOutcome OptimiseRegistry(const OptimiseChoices& choices) noexcept;

// Puts back what the optimisations changed. With a restore record every recorded value
// returns exactly and the choices play no part; a backup set saved without a record is
// put back by the restore table, whose conditions follow the choices. "Restore" and
// the saved copies are removed once everything is back.
RunOutcome RestoreRegistry(const RestoreChoices& choices) noexcept;

// Test seam: called after every registry operation of a run; returning false ends the
// run there, as if the program had stopped. An empty hook removes it.
struct RegistryOperation {
  HKEY root;
  std::wstring_view keyPath;
  std::wstring_view valueName;  // empty for an operation on a key
  bool use64BitView;
};
using RegistryOperationHook = std::function<bool(const RegistryOperation&)>;
void SetRegistryOperationHookForTesting(RegistryOperationHook hook);

}  // namespace zephtune::tuning

// Catching processor faults (invalid memory access, division by zero, illegal instruction,
// stack overflow) so that the command they happen in is abandoned instead of the program.
// The event loop runs each event through RunGuarded; a fault inside returns there.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>

#include <string_view>

namespace lumigrid::ui {

enum class FaultKind {
  kUnknown,
  kAccessViolation,
  kStackOverflow,
  kDivisionByZero,
  kIntegerOverflow,
  kArithmetic,
  kIllegalInstruction,
  kBusError,
};

// One sentence naming the fault, for the fault message; empty for kUnknown.
std::string_view FaultDescription(FaultKind kind);

struct FaultRecord {
  FaultKind kind = FaultKind::kUnknown;
  std::uint64_t address = 0;  // of the faulting instruction
};

// Called inside the fault handler before anything else. It may use only async-signal-safe
// calls: the program's state may be corrupted and the handler may run on a small stack.
using FaultWriter = void (*)(void* context);

// Registers the handler; it runs on a stack of its own so a stack overflow is caught too.
// A fault outside any guarded call still runs the writer, then ends the process as the
// fault would have without the handler.
void InstallFaultTrap(FaultWriter writer, void* context);
// Puts back the fault handling in force before InstallFaultTrap.
void RestoreFaultHandling();
bool FaultTrapInstalled();

bool RunGuardedCall(void (*body)(void*), void* argument);

// Runs body; true when it completed, false when a fault abandoned it (the fault is then
// kept for TakeFault). Calls nest; a fault returns to the innermost one.
template <class Body>
bool RunGuarded(Body&& body) {
  return RunGuardedCall([](void* b) { (*static_cast<std::remove_reference_t<Body>*>(b))(); },
                        const_cast<void*>(static_cast<const void*>(&body)));
}

// The last fault that abandoned a guarded call, once.
std::optional<FaultRecord> TakeFault();

}  // namespace lumigrid::ui

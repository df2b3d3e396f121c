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
// fault would have without the handler. A fault signal another program sent (kill -SEGV) is
// no fault of the running code: the writer runs, nothing is abandoned, and the fault waits
// for TakeFault (see FaultNoticeDescriptor). A request to end (SIGTERM, SIGHUP, SIGINT) runs
// the writer and ends the process with 128 + the signal.
void InstallFaultTrap(FaultWriter writer, void* context);
// Puts back the fault handling in force before InstallFaultTrap.
void RestoreFaultHandling();
bool FaultTrapInstalled();

bool RunGuardedCall(void (*body)(void*), void* argument);

// Runs body; true when it completed, false when a fault abandoned it (the fault is then
// kept for TakeFault). Calls nest; a fault returns to the innermost one, but never across an
// event loop entered since that call began (a modal question's): a fault of the loop itself,
// outside any guarded call of its own, is handled as one outside any guarded call.
template <class Body>
bool RunGuarded(Body&& body) {
  return RunGuardedCall([](void* b) { (*static_cast<std::remove_reference_t<Body>*>(b))(); },
                        const_cast<void*>(static_cast<const void*>(&body)));
}

// The last fault that abandoned a guarded call or was sent, once.
std::optional<FaultRecord> TakeFault();

// Readable while a sent fault waits for TakeFault, so that the event loop can report it;
// -1 where faults cannot be sent.
int FaultNoticeDescriptor();

// How many guarded calls faults have abandoned. What they left half done (a signal being
// emitted, a widget's state) cannot be trusted, by destructors least of all.
int AbandonedCalls();

}  // namespace lumigrid::ui

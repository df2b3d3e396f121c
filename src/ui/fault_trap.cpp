#include "ui/fault_trap.h"

#include <csignal>
#include <cstring>

#ifdef _WIN32
#include <malloc.h>
#include <windows.h>
#else
#include <pthread.h>
#include <setjmp.h>
#include <ucontext.h>
#endif

namespace lumigrid::ui {

namespace {

// The signal handler reaches these; nothing else can be handed to it.
FaultWriter g_writer = nullptr;
void* g_context = nullptr;
volatile std::sig_atomic_t g_installed = 0;
volatile std::sig_atomic_t g_has_fault = 0;
FaultRecord g_fault;

void WriteRecovery() {
  if (g_writer != nullptr) g_writer(g_context);
}

}  // namespace

#ifdef _WIN32

namespace {

LPTOP_LEVEL_EXCEPTION_FILTER g_previous_filter = nullptr;

FaultKind KindOf(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
      return FaultKind::kAccessViolation;
    case EXCEPTION_STACK_OVERFLOW:
      return FaultKind::kStackOverflow;
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
      return FaultKind::kDivisionByZero;
    case EXCEPTION_INT_OVERFLOW:
      return FaultKind::kIntegerOverflow;
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
      return FaultKind::kIllegalInstruction;
    case EXCEPTION_DATATYPE_MISALIGNMENT:
      return FaultKind::kBusError;
    default:
      return FaultKind::kUnknown;
  }
}

int Filter(EXCEPTION_POINTERS* e) {
  const FaultKind kind = KindOf(e->ExceptionRecord->ExceptionCode);
  if (kind == FaultKind::kUnknown) return EXCEPTION_CONTINUE_SEARCH;
  WriteRecovery();
  g_fault = {kind, reinterpret_cast<std::uint64_t>(e->ExceptionRecord->ExceptionAddress)};
  g_has_fault = 1;
  return EXCEPTION_EXECUTE_HANDLER;
}

LONG WINAPI Unguarded(EXCEPTION_POINTERS* e) {
  WriteRecovery();
  return g_previous_filter ? g_previous_filter(e) : EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void InstallFaultTrap(FaultWriter writer, void* context) {
  g_writer = writer;
  g_context = context;
  if (!g_installed) g_previous_filter = SetUnhandledExceptionFilter(&Unguarded);
  g_installed = 1;
}

void RestoreFaultHandling() {
  if (!g_installed) return;
  SetUnhandledExceptionFilter(g_previous_filter);
  g_installed = 0;
}

bool RunGuardedCall(void (*body)(void*), void* argument) {
  if (!g_installed) {
    body(argument);
    return true;
  }
  __try {
    body(argument);
    return true;
  } __except (Filter(GetExceptionInformation())) {
    if (g_fault.kind == FaultKind::kStackOverflow) _resetstkoflw();
    return false;
  }
}

#else

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGFPE, SIGILL, SIGBUS};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];
// A stack overflow is a fault this close to the stack pointer.
constexpr std::uintptr_t kStackReach = 64 * 1024;

struct JumpPoint {
  sigjmp_buf env;
};

JumpPoint* volatile g_jump_point = nullptr;
volatile std::sig_atomic_t g_in_handler = 0;
thread_local bool t_window_thread = false;
struct sigaction g_previous[kSignalCount];
stack_t g_previous_stack;
alignas(16) char g_alternate_stack[128 * 1024];

struct Registers {
  std::uint64_t instruction = 0;
  std::uintptr_t stack = 0;
};

Registers RegistersOf(void* context) {
  Registers r;
  const auto* uc = static_cast<const ucontext_t*>(context);
  if (uc == nullptr) return r;
#if defined(__x86_64__)
  r.instruction = static_cast<std::uint64_t>(uc->uc_mcontext.gregs[REG_RIP]);
  r.stack = static_cast<std::uintptr_t>(uc->uc_mcontext.gregs[REG_RSP]);
#elif defined(__aarch64__)
  r.instruction = uc->uc_mcontext.pc;
  r.stack = uc->uc_mcontext.sp;
#elif defined(__i386__)
  r.instruction = static_cast<std::uint32_t>(uc->uc_mcontext.gregs[REG_EIP]);
  r.stack = static_cast<std::uintptr_t>(uc->uc_mcontext.gregs[REG_ESP]);
#endif
  return r;
}

FaultKind KindOf(int signal, const siginfo_t* info, std::uintptr_t stack) {
  switch (signal) {
    case SIGSEGV: {
      const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
      const std::uintptr_t distance = address > stack ? address - stack : stack - address;
      return stack != 0 && distance < kStackReach ? FaultKind::kStackOverflow
                                                  : FaultKind::kAccessViolation;
    }
    case SIGFPE:
      if (info->si_code == FPE_INTDIV) return FaultKind::kDivisionByZero;
      if (info->si_code == FPE_INTOVF) return FaultKind::kIntegerOverflow;
      return FaultKind::kArithmetic;
    case SIGILL:
      return FaultKind::kIllegalInstruction;
    case SIGBUS:
      return FaultKind::kBusError;
    default:
      return FaultKind::kUnknown;
  }
}

// Lets the signal end the process as it would have without us.
void FallThrough(int signal) {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
  // A sent signal would not come back by itself; a real fault repeats on return.
  raise(signal);
}

void OnFault(int signal, siginfo_t* info, void* context) {
  if (g_in_handler) {
    // The recovery writing faulted itself.
    FallThrough(signal);
    return;
  }
  g_in_handler = 1;
  WriteRecovery();
  const Registers registers = RegistersOf(context);
  const std::uint64_t address = registers.instruction != 0
                                    ? registers.instruction
                                    : reinterpret_cast<std::uint64_t>(info->si_addr);
  g_fault = {KindOf(signal, info, registers.stack), address};
  g_has_fault = 1;
  // Jump points belong to the thread that runs the window; another thread's fault ends it all.
  JumpPoint* point = t_window_thread ? g_jump_point : nullptr;
  g_in_handler = 0;
  if (point == nullptr) {
    FallThrough(signal);
    return;
  }
  // The jump leaves the handler without returning, so the signal is unblocked by hand.
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, signal);
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
  siglongjmp(point->env, 1);
}

}  // namespace

void InstallFaultTrap(FaultWriter writer, void* context) {
  g_writer = writer;
  g_context = context;
  t_window_thread = true;
  if (g_installed) return;
  stack_t stack{};
  stack.ss_sp = g_alternate_stack;
  stack.ss_size = sizeof g_alternate_stack;
  sigaltstack(&stack, &g_previous_stack);
  struct sigaction action {};
  action.sa_sigaction = &OnFault;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &action, &g_previous[i]);
  g_installed = 1;
}

void RestoreFaultHandling() {
  if (!g_installed) return;
  for (int i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &g_previous[i], nullptr);
  sigaltstack(&g_previous_stack, nullptr);
  g_installed = 0;
  g_writer = nullptr;
  g_context = nullptr;
}

bool RunGuardedCall(void (*body)(void*), void* argument) {
  if (!g_installed || !t_window_thread) {
    body(argument);
    return true;
  }
  JumpPoint point;
  JumpPoint* const outer = g_jump_point;
  // Put back even when the body throws.
  struct Restore {
    JumpPoint* outer;
    ~Restore() { g_jump_point = outer; }
  } restore{outer};
  if (sigsetjmp(point.env, 0) != 0) return false;
  g_jump_point = &point;
  body(argument);
  return true;
}

#endif

std::string_view FaultDescription(FaultKind kind) {
  switch (kind) {
    case FaultKind::kAccessViolation:
      return "Обращение к недоступной памяти";
    case FaultKind::kStackOverflow:
      return "Переполнение стека";
    case FaultKind::kDivisionByZero:
      return "Целочисленное деление на ноль";
    case FaultKind::kIntegerOverflow:
      return "Целочисленное переполнение";
    case FaultKind::kArithmetic:
      return "Ошибка арифметической операции";
    case FaultKind::kIllegalInstruction:
      return "Недопустимая инструкция";
    case FaultKind::kBusError:
      return "Ошибка шины: недопустимый адрес памяти";
    case FaultKind::kUnknown:
      break;
  }
  return {};
}

bool FaultTrapInstalled() { return g_installed != 0; }

std::optional<FaultRecord> TakeFault() {
  if (!g_has_fault) return std::nullopt;
  g_has_fault = 0;
  return g_fault;
}

}  // namespace lumigrid::ui

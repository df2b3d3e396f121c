#include "ui/fault_trap.h"

#include <QThread>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <malloc.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <pthread.h>
#include <setjmp.h>
#include <ucontext.h>
#include <unistd.h>
#endif

namespace lumigrid::ui {

namespace {

// The signal handler reaches these; nothing else can be handed to it.
FaultWriter g_writer = nullptr;
void* g_context = nullptr;
volatile std::sig_atomic_t g_installed = 0;
// The last fault. A sent signal may come on any thread at any moment, also while the record
// is being taken, so its parts are lock-free atomics.
std::atomic<int> g_has_fault{0};
std::atomic<int> g_fault_kind{0};
std::atomic<std::uint64_t> g_fault_address{0};
std::atomic<int> g_abandoned{0};
static_assert(std::atomic<std::uint64_t>::is_always_lock_free);
// The thread whose event loops the guarded calls run in.
QThread* g_loop_thread = nullptr;

void WriteRecovery() {
  if (g_writer != nullptr) g_writer(g_context);
}

void Record(FaultKind kind, std::uint64_t address) {
  g_fault_kind.store(static_cast<int>(kind), std::memory_order_relaxed);
  g_fault_address.store(address, std::memory_order_relaxed);
  g_has_fault.store(1, std::memory_order_release);
}

// How many event loops (the main one, a modal question's) run on the window thread.
int LoopLevel() { return g_loop_thread != nullptr ? g_loop_thread->loopLevel() : 0; }

// The process ends the way a shell reports a program ended by that signal.
[[noreturn]] void EndBySignal(int signal) {
  WriteRecovery();
  std::_Exit(128 + signal);
}

}  // namespace

#ifdef _WIN32

namespace {

LPTOP_LEVEL_EXCEPTION_FILTER g_previous_filter = nullptr;
constexpr int kEndSignals[] = {SIGINT, SIGTERM, SIGBREAK};
void (*g_previous_end[3])(int) = {};

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

int Filter(EXCEPTION_POINTERS* e, int loop_level) {
  const FaultKind kind = KindOf(e->ExceptionRecord->ExceptionCode);
  if (kind == FaultKind::kUnknown) return EXCEPTION_CONTINUE_SEARCH;
  // Handling it here would unwind an event loop entered inside this call; the search goes
  // on outwards, to the unguarded end.
  if (loop_level != LoopLevel()) return EXCEPTION_CONTINUE_SEARCH;
  WriteRecovery();
  Record(kind, reinterpret_cast<std::uint64_t>(e->ExceptionRecord->ExceptionAddress));
  g_abandoned.fetch_add(1, std::memory_order_relaxed);
  return EXCEPTION_EXECUTE_HANDLER;
}

LONG WINAPI Unguarded(EXCEPTION_POINTERS* e) {
  WriteRecovery();
  return g_previous_filter ? g_previous_filter(e) : EXCEPTION_CONTINUE_SEARCH;
}

// Ctrl+C and Ctrl+Break of a console, or a raised SIGTERM; on a thread of its own.
void __cdecl OnEnd(int signal) { EndBySignal(signal); }

}  // namespace

void InstallFaultTrap(FaultWriter writer, void* context) {
  g_writer = writer;
  g_context = context;
  g_loop_thread = QThread::currentThread();
  if (g_installed) return;
  g_previous_filter = SetUnhandledExceptionFilter(&Unguarded);
  for (int i = 0; i < 3; ++i) g_previous_end[i] = std::signal(kEndSignals[i], &OnEnd);
  g_installed = 1;
}

void RestoreFaultHandling() {
  if (!g_installed) return;
  SetUnhandledExceptionFilter(g_previous_filter);
  for (int i = 0; i < 3; ++i) {
    if (g_previous_end[i] != SIG_ERR) std::signal(kEndSignals[i], g_previous_end[i]);
  }
  g_installed = 0;
}

bool RunGuardedCall(void (*body)(void*), void* argument) {
  if (!g_installed) {
    body(argument);
    return true;
  }
  const int loop_level = LoopLevel();
  __try {
    body(argument);
    return true;
  } __except (Filter(GetExceptionInformation(), loop_level)) {
    if (static_cast<FaultKind>(g_fault_kind.load()) == FaultKind::kStackOverflow) {
      _resetstkoflw();
    }
    return false;
  }
}

int FaultNoticeDescriptor() { return -1; }

#else

namespace {

constexpr int kFaultSignals[] = {SIGSEGV, SIGFPE, SIGILL, SIGBUS};
// The end of a session (SIGHUP), a polite kill or shutdown (SIGTERM), Ctrl+C (SIGINT).
constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};
constexpr int kFaultCount = sizeof kFaultSignals / sizeof kFaultSignals[0];
constexpr int kEndCount = sizeof kEndSignals / sizeof kEndSignals[0];
// A stack overflow is a fault this close to the stack pointer.
constexpr std::uintptr_t kStackReach = 64 * 1024;

struct JumpPoint {
  sigjmp_buf env;
  int loop_level;  // of the window thread when the guarded call began
};

JumpPoint* volatile g_jump_point = nullptr;
volatile std::sig_atomic_t g_in_handler = 0;
thread_local bool t_window_thread = false;
struct sigaction g_previous_fault[kFaultCount];
struct sigaction g_previous_end[kEndCount];
bool g_took_end[kEndCount] = {};
stack_t g_previous_stack;
alignas(16) char g_alternate_stack[128 * 1024];
// Self-pipe: a byte written in the handler wakes the event loop to report a sent fault.
int g_notice[2] = {-1, -1};

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

// Sent by kill, sigqueue, tgkill and the like rather than raised by the processor for the
// instruction that was running.
bool WasSent(const siginfo_t* info) {
#if defined(__linux__)
  // The kernel's own codes are positive, SI_KERNEL (a general protection fault) included.
  return info->si_code <= 0;
#else
  return info->si_code == SI_USER || info->si_code == SI_QUEUE;
#endif
}

// `stack` 0 when unknown: no stack overflow is told apart then.
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
  // A real fault repeats on return; the raised copy covers the rest.
  raise(signal);
}

void OnFault(int signal, siginfo_t* info, void* context) {
  const int saved_errno = errno;
  const Registers registers = RegistersOf(context);
  if (WasSent(info)) {
    // The interrupted code did nothing wrong and goes on; the loop reports the signal.
    WriteRecovery();
    Record(KindOf(signal, info, 0), registers.instruction);
    if (g_notice[1] >= 0) {
      const char byte = 1;
      // A full pipe already holds a notice.
      [[maybe_unused]] const ssize_t n = ::write(g_notice[1], &byte, 1);
    }
    errno = saved_errno;
    return;
  }
  if (g_in_handler) {
    // The recovery writing faulted itself.
    FallThrough(signal);
    return;
  }
  g_in_handler = 1;
  WriteRecovery();
  const std::uint64_t address = registers.instruction != 0
                                    ? registers.instruction
                                    : reinterpret_cast<std::uint64_t>(info->si_addr);
  Record(KindOf(signal, info, registers.stack), address);
  // Jump points belong to the thread that runs the window; another thread's fault ends it all.
  JumpPoint* point = t_window_thread ? g_jump_point : nullptr;
  // A jump back across an event loop entered since the point was set would leave that loop
  // dead on the stack and its question on the screen.
  if (point != nullptr && point->loop_level != LoopLevel()) point = nullptr;
  g_in_handler = 0;
  if (point == nullptr) {
    FallThrough(signal);
    return;
  }
  g_abandoned.fetch_add(1, std::memory_order_relaxed);
  // The jump leaves the handler without returning, so the interrupted code's signal mask is
  // put back by hand.
  pthread_sigmask(SIG_SETMASK, &static_cast<const ucontext_t*>(context)->uc_sigmask, nullptr);
  siglongjmp(point->env, 1);
}

void OnEnd(int signal) { EndBySignal(signal); }

void OpenNoticePipe() {
  if (g_notice[0] >= 0 || ::pipe(g_notice) != 0) return;
  for (int fd : g_notice) {
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  }
}

void DrainNotices() {
  if (g_notice[0] < 0) return;
  char bytes[64];
  while (::read(g_notice[0], bytes, sizeof bytes) > 0) {
  }
}

}  // namespace

void InstallFaultTrap(FaultWriter writer, void* context) {
  g_writer = writer;
  g_context = context;
  t_window_thread = true;
  g_loop_thread = QThread::currentThread();
  if (g_installed) return;
  OpenNoticePipe();
  stack_t stack{};
  stack.ss_sp = g_alternate_stack;
  stack.ss_size = sizeof g_alternate_stack;
  sigaltstack(&stack, &g_previous_stack);
  // None of them interrupts the handling of another: a sent one waits, a real fault inside
  // the handler ends the process.
  sigset_t all;
  sigemptyset(&all);
  for (int s : kFaultSignals) sigaddset(&all, s);
  for (int s : kEndSignals) sigaddset(&all, s);
  struct sigaction fault {};
  fault.sa_sigaction = &OnFault;
  fault.sa_flags = SA_SIGINFO | SA_ONSTACK;
  fault.sa_mask = all;
  for (int i = 0; i < kFaultCount; ++i) sigaction(kFaultSignals[i], &fault, &g_previous_fault[i]);
  struct sigaction end {};
  end.sa_handler = &OnEnd;
  end.sa_flags = SA_ONSTACK;
  end.sa_mask = all;
  for (int i = 0; i < kEndCount; ++i) {
    sigaction(kEndSignals[i], nullptr, &g_previous_end[i]);
    // Started with nohup, or in the background of a script: the starter wants these ignored.
    g_took_end[i] = kEndSignals[i] == SIGTERM || g_previous_end[i].sa_handler != SIG_IGN;
    if (g_took_end[i]) sigaction(kEndSignals[i], &end, nullptr);
  }
  g_installed = 1;
}

void RestoreFaultHandling() {
  if (!g_installed) return;
  for (int i = 0; i < kFaultCount; ++i) sigaction(kFaultSignals[i], &g_previous_fault[i], nullptr);
  for (int i = 0; i < kEndCount; ++i) {
    if (g_took_end[i]) sigaction(kEndSignals[i], &g_previous_end[i], nullptr);
  }
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
  point.loop_level = LoopLevel();
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

int FaultNoticeDescriptor() { return g_notice[0]; }

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
#ifndef _WIN32
  DrainNotices();
#endif
  if (g_has_fault.exchange(0, std::memory_order_acquire) == 0) return std::nullopt;
  return FaultRecord{static_cast<FaultKind>(g_fault_kind.load(std::memory_order_relaxed)),
                     g_fault_address.load(std::memory_order_relaxed)};
}

int AbandonedCalls() { return g_abandoned.load(std::memory_order_relaxed); }

}  // namespace lumigrid::ui

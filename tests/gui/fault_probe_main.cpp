// A child process for the fault tests: the real main window on the scripted platform, with a
// command only this program has that faults. Arguments: the recovery folder, the fault
// (segv, fpe, ill, stack) and the answer to the fault message (yes, no). After No the probe
// shows that the loop still works and faults a second time.
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "app/commands.h"
#include "app/fault_handler.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "ui/application.h"
#include "ui/scripted_platform.h"

namespace {

constexpr int kFaultCommand = 9001;

// The faults are the point: the sanitizers of a checked build must let them reach the handler.
#define LUMIGRID_FAULTS_ON_PURPOSE [[gnu::noinline, gnu::no_sanitize("address", "undefined")]]

LUMIGRID_FAULTS_ON_PURPOSE void WriteThroughNull() {
  volatile int* volatile pointer = nullptr;
  *pointer = 1;
}

LUMIGRID_FAULTS_ON_PURPOSE void DivideByZero() {
  volatile int zero = 0;
  volatile int numerator = 1;
  volatile int result = numerator / zero;
  (void)result;
}

LUMIGRID_FAULTS_ON_PURPOSE void IllegalInstruction() { __builtin_trap(); }

// Endless on purpose: it ends in a stack overflow.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winfinite-recursion"
LUMIGRID_FAULTS_ON_PURPOSE int Recurse(int depth) {
  volatile char pad[512];
  pad[0] = static_cast<char>(depth);
  return Recurse(depth + 1) + pad[0];
}
#pragma GCC diagnostic pop

[[gnu::noinline]] void OverflowStack() { std::printf("%d\n", Recurse(0)); }

void (*FaultOf(const char* kind))() {
  if (std::strcmp(kind, "segv") == 0) return &WriteThroughNull;
  if (std::strcmp(kind, "fpe") == 0) return &DivideByZero;
  if (std::strcmp(kind, "ill") == 0) return &IllegalInstruction;
  if (std::strcmp(kind, "stack") == 0) return &OverflowStack;
  return nullptr;
}

void Print(const char* tag, const QString& text) {
  std::printf("%s<<%s>>\n", tag, text.toUtf8().constData());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  lumigrid::ui::Application app(argc, argv);
  if (argc < 4 || FaultOf(argv[2]) == nullptr) return 2;
  void (*fault)() = FaultOf(argv[2]);
  // Where the faulting instruction must lie.
  std::printf("FUNCTION %llu %llu\n",
              static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(fault)),
              static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(&Recurse)));

  lumigrid::ui::ScriptedPlatform platform;
  platform.QueueAnswer(std::strcmp(argv[3], "yes") == 0 ? lumigrid::ui::Answer::kYes
                                                        : lumigrid::ui::Answer::kNo);
  platform.OnMessage([](const lumigrid::ui::Message& m) {
    Print("CAPTION", m.caption);
    Print("TEXT", m.text);
    std::printf("BOX icon=%d buttons=%d default=%d\n", static_cast<int>(m.icon),
                static_cast<int>(m.buttons), static_cast<int>(m.default_answer));
    std::fflush(stdout);
  });

  lumigrid::FatalErrorHandler handler(platform, argv[1]);
  auto window = lumigrid::CreateMainWindow(platform, lumigrid::Settings{});
  lumigrid::EditorState& state = window->State();
  handler.Watch(&state);
  for (int i = 0; i < lumigrid::kPictureBytes; ++i) {
    state.Buffer(2).Bytes()[i] = static_cast<uint8_t>(i * 3);
  }
  state.SetBufferFileName(2, "/pictures/кот.chr");
  state.MarkModified(2);
  state.Buffer(3).Bytes().fill(0x5A);
  state.MarkModified(3);
  state.Buffer(1).Bytes()[0] = 0x81;  // not modified: no copy

  window->Commands().Register(kFaultCommand, fault);
  int handled = 0;
  QObject::connect(&handler, &lumigrid::FatalErrorHandler::faultHandled, [&] {
    if (++handled == 1) {
      // The loop runs on: a real command clears buffer 1.
      window->Dispatch(lumigrid::command::kNew);
      std::printf("ALIVE %d\n", state.Buffer(1).Bytes()[0]);
      state.Buffer(4).Bytes().fill(0x44);
      state.MarkModified(4);
      QMetaObject::invokeMethod(
          &app, [&] { window->Dispatch(kFaultCommand); }, Qt::QueuedConnection);
    } else {
      std::printf("SECOND messages=%lld\n", static_cast<long long>(platform.Messages().size()));
      QCoreApplication::exit(0);
    }
    std::fflush(stdout);
  });
  QMetaObject::invokeMethod(
      &app,
      [&] {
        window->Dispatch(kFaultCommand);
        std::printf("NOT ABANDONED\n");
      },
      Qt::QueuedConnection);
  // Ends as the program does: the window goes, then the process without running the
  // application object's teardown, which an abandoned event may have left half done.
  const int code = QCoreApplication::exec();
  window.reset();
  lumigrid::ExitCleanup(code);
}

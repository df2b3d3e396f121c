// A child process for the fault tests: the real main window on the scripted platform, with a
// command only this program has that faults. Arguments: a work folder (the recovery copies go
// into its "recovery" folder, the settings file lies beside them), a scenario, a kind and the
// answer to the fault message (yes, no):
//   command segv|fpe|ill|stack  a command faults; after No the loop goes on (New runs) and a
//                               second fault is passed over.
//   sent segv|bus|fpe|ill       the same with the signal sent while the loop waits: by kill,
//                               or by sigqueue / tgkill with the kind written "bus:queue",
//                               "fpe:thread".
//   prompt-handler segv         the closing question waits in its own loop, where a command
//                               faults; after No the question is answered Cancel.
//   prompt-idle segv            the closing question waits and its loop faults outside any event.
//   prompt-sent segv            the closing question waits and SIGSEGV is sent to the program.
//   button segv                 a slot of the logic panel, reached through its button, faults;
//                               after No the window is closed and the run ends as the program's.
//   end term|hup|int            the idle program is asked to end by the signal.
#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QPushButton>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/commands.h"
#include "app/fault_handler.h"
#include "app/fault_message.h"
#include "app/main_window.h"
#include "app/settings_store.h"
#include "app/startup.h"
#include "app/tool_commands.h"
#include "tools/logic_panel.h"
#include "ui/application.h"
#include "ui/scripted_platform.h"

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

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

void (*FaultOf(const std::string& kind))() {
  if (kind == "segv") return &WriteThroughNull;
  if (kind == "fpe") return &DivideByZero;
  if (kind == "ill") return &IllegalInstruction;
  if (kind == "stack") return &OverflowStack;
  return nullptr;
}

int SignalOf(const std::string& kind) {
  if (kind == "segv") return SIGSEGV;
  if (kind == "bus") return SIGBUS;
  if (kind == "fpe") return SIGFPE;
  if (kind == "ill") return SIGILL;
  if (kind == "term") return SIGTERM;
  if (kind == "hup") return SIGHUP;
  if (kind == "int") return SIGINT;
  return 0;
}

// As another program (kill), a queue (sigqueue) or a thread of this one (tgkill) sends it.
void Send(int signal, const std::string& how) {
  if (how == "queue") {
    sigqueue(getpid(), signal, sigval{});
  } else if (how == "thread") {
    syscall(SYS_tgkill, getpid(), static_cast<pid_t>(syscall(SYS_gettid)), signal);
  } else {
    kill(getpid(), signal);
  }
}

void PrintMessage(const lumigrid::ui::Message& m) {
  std::printf("BOX icon=%d buttons=%d default=%d CAPTION<<%s>> TEXT<<%s>>\n",
              static_cast<int>(m.icon), static_cast<int>(m.buttons),
              static_cast<int>(m.default_answer), m.caption.toUtf8().constData(),
              m.text.toUtf8().constData());
}

// Runs `action` once, when the event loop at `level` is about to wait for events: outside
// any event handler.
class WhenIdle : public QObject {
 public:
  WhenIdle(int level, std::function<void()> action) : level_(level), action_(std::move(action)) {
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            [this] {
              if (!action_ || QThread::currentThread()->loopLevel() != level_) return;
              const std::function<void()> action = std::move(action_);
              action_ = nullptr;
              action();
            });
  }

 private:
  int level_;
  std::function<void()> action_;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  // Started as from a desktop, whatever the test runner ignores.
  std::signal(SIGHUP, SIG_DFL);
  std::signal(SIGINT, SIG_DFL);
  lumigrid::ui::Application app(argc, argv);
  if (argc < 5) return 2;
  const std::string folder = argv[1];
  const std::string scenario = argv[2];
  const std::string kind_and_how = argv[3];
  const std::string kind = kind_and_how.substr(0, kind_and_how.find(':'));
  const std::string how =
      kind_and_how.find(':') == std::string::npos ? "" : kind_and_how.substr(kind.size() + 1);
  const bool yes = std::strcmp(argv[4], "yes") == 0;
  void (*fault)() = FaultOf(kind);
  const int signal = SignalOf(kind);
  if (fault == nullptr && signal == 0) return 2;
  // Where the faulting instruction must lie.
  std::printf("FUNCTION %llu %llu\n",
              static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(fault)),
              static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(&Recurse)));

  lumigrid::ui::ScriptedPlatform platform;
  platform.QueueAnswer(yes ? lumigrid::ui::Answer::kYes : lumigrid::ui::Answer::kNo);
  const bool prompt = scenario.rfind("prompt-", 0) == 0;
  if (prompt) platform.QueueAnswer(lumigrid::ui::Answer::kCancel);
  // The closing questions of the normal end: nothing saved.
  if (scenario == "button") {
    for (int i = 0; i < lumigrid::kBufferCount; ++i) {
      platform.QueueAnswer(lumigrid::ui::Answer::kNo);
    }
  }

  const std::string settings_path = lumigrid::SettingsPathIn(folder);
  const lumigrid::Settings settings = lumigrid::ReadSettings(platform, settings_path);
  const std::string recovery_folder = lumigrid::RecoveryFolderIn(folder);
  lumigrid::FatalErrorHandler handler(platform, recovery_folder);
  std::unique_ptr<lumigrid::MainWindow> window = lumigrid::CreateMainWindow(platform, settings);
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
  if (fault != nullptr) window->Commands().Register(kFaultCommand, fault);
  // Shown, so that closing it is the end of the run.
  window->show();

  // The closing question's own loop, as a modal message box runs one.
  QEventLoop* question_loop = nullptr;
  std::unique_ptr<WhenIdle> idle;
  platform.OnMessage([&](const lumigrid::ui::Message& m) {
    PrintMessage(m);
    if (!prompt || question_loop != nullptr ||
        m.caption.toStdString() == lumigrid::FaultCaption()) {
      return;
    }
    QEventLoop loop;
    question_loop = &loop;
    if (scenario == "prompt-handler") {
      QMetaObject::invokeMethod(
          &app, [&] { window->Dispatch(kFaultCommand); }, Qt::QueuedConnection);
    } else if (scenario == "prompt-idle") {
      idle = std::make_unique<WhenIdle>(2, fault);
    } else {
      idle = std::make_unique<WhenIdle>(2, [] { Send(SIGSEGV, ""); });
    }
    loop.exec();
    std::printf("LOOP ENDED\n");
  });

  // The fault of the scenario: a command that faults, or a signal sent while the loop waits.
  const auto fault_now = [&] {
    if (scenario == "command") {
      QMetaObject::invokeMethod(
          &app,
          [&] {
            window->Dispatch(kFaultCommand);
            std::printf("NOT ABANDONED\n");
          },
          Qt::QueuedConnection);
    } else {
      idle = std::make_unique<WhenIdle>(1, [&] { Send(signal, how); });
    }
  };
  int handled = 0;
  QObject::connect(&handler, &lumigrid::FatalErrorHandler::faultHandled, [&] {
    ++handled;
    if (question_loop != nullptr) {
      question_loop->quit();
    } else if (scenario == "button") {
      QMetaObject::invokeMethod(
          &app, [&] { window->close(); }, Qt::QueuedConnection);
    } else if (handled == 1) {
      // The loop runs on: a real command clears buffer 1.
      window->Dispatch(lumigrid::command::kNew);
      std::printf("ALIVE %d\n", state.Buffer(1).Bytes()[0]);
      state.Buffer(4).Bytes().fill(0x44);
      state.MarkModified(4);
      fault_now();
    } else {
      std::printf("SECOND messages=%lld\n", static_cast<long long>(platform.Messages().size()));
      QCoreApplication::exit(0);
    }
  });

  if (scenario == "command" || scenario == "sent" || scenario == "end") {
    fault_now();
  } else if (prompt) {
    QMetaObject::invokeMethod(
        &app,
        [&] {
          window->close();
          std::printf("CLOSE RETURNED\n");
          window->Dispatch(lumigrid::command::kNew);
          std::printf("ALIVE %d\n", state.Buffer(1).Bytes()[0]);
          QCoreApplication::exit(0);
        },
        Qt::QueuedConnection);
  } else if (scenario == "button") {
    window->SwitchWorkMode(3);
    lumigrid::LogicPanel& panel = window->Tools().Logic();
    QObject::connect(panel.ExecuteButton(), &QPushButton::clicked, &panel, fault);
    QMetaObject::invokeMethod(
        &app, [&] { panel.ExecuteButton()->click(); }, Qt::QueuedConnection);
  } else {
    return 2;
  }

  const int code = QCoreApplication::exec();
  std::printf("LOOP LEFT %d\n", code);
  if (scenario == "button") {
    lumigrid::WriteSettings(settings_path, window->CollectSettings());
    lumigrid::RemoveRecoveryCopies(recovery_folder);
  }
  // Ends as the program does.
  handler.Watch(nullptr);
  lumigrid::EndRun(std::move(window));
}

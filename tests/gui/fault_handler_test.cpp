// Processor faults and ending signals in a child process: the recovery copies, the message,
// the exit code of Yes, a loop that goes on after No, and a normal end after a fault.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/fault_handler.h"
#include "app/fault_message.h"
#include "app/main_window.h"
#include "app/recovery_file.h"
#include "core/temp_folder.h"
#include "ui/fault_trap.h"
#include "ui/platform.h"
#include "ui/scripted_platform.h"

namespace lumigrid {
namespace {

struct Box {
  int icon = -1;
  int buttons = -1;
  int default_answer = -1;
  std::string caption;
  std::string text;
};

struct ProbeRun {
  int exit_code = -1;
  bool crashed = false;
  QString output;
  std::vector<Box> boxes;

  bool Says(const char* line) const { return output.contains(QLatin1String(line)); }
};

ProbeRun RunProbe(const std::filesystem::path& folder, const char* scenario, const char* kind,
                  const char* answer) {
  QProcess probe;
  probe.setProcessChannelMode(QProcess::MergedChannels);
  // Under AddressSanitizer the program's own handler must see the signals, and the fatal end
  // it chooses is not a leak.
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
  if (!asan.isEmpty()) asan += ':';
  asan += QStringLiteral(
      "handle_segv=0:handle_sigfpe=0:handle_sigill=0:handle_sigbus=0:detect_leaks=0:"
      "use_sigaltstack=0");
  environment.insert(QStringLiteral("ASAN_OPTIONS"), asan);
  probe.setProcessEnvironment(environment);
  probe.start(QStringLiteral(LUMIGRID_FAULT_PROBE),
              {QString::fromStdString(folder.string()), QString::fromLatin1(scenario),
               QString::fromLatin1(kind), QString::fromLatin1(answer)});
  ProbeRun run;
  if (!probe.waitForFinished(60000)) {
    probe.kill();
    probe.waitForFinished();
    return run;
  }
  run.crashed = probe.exitStatus() == QProcess::CrashExit;
  run.exit_code = probe.exitCode();
  run.output = QString::fromUtf8(probe.readAll());
  const QRegularExpression box_line(
      QStringLiteral("BOX icon=(\\d+) buttons=(\\d+) default=(\\d+) CAPTION<<(.*?)>> "
                     "TEXT<<(.*?)>>\n"),
      QRegularExpression::DotMatchesEverythingOption);
  for (auto it = box_line.globalMatch(run.output); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    run.boxes.push_back({m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                         m.captured(4).toStdString(), m.captured(5).toStdString()});
  }
  return run;
}

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Buffer2Bytes() {
  std::string bytes;
  for (int i = 0; i < kPictureBytes; ++i) bytes += static_cast<char>(i * 3);
  return bytes;
}

// The probe's modified pictures, 2 (named) and 3, and none of the unmodified buffer 1.
void ExpectCopies(const std::filesystem::path& recovery) {
  EXPECT_EQ(FileBytes(recovery / "buffer02.rcv"), Buffer2Bytes() + "/pictures/кот.chr");
  EXPECT_EQ(FileBytes(recovery / "buffer03.rcv"), std::string(kPictureBytes, '\x5A'));
  EXPECT_FALSE(std::filesystem::exists(recovery / "buffer01.rcv"));
  EXPECT_EQ(std::filesystem::status(recovery).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_all);
}

// The address the message names; 0 when it names none.
std::uint64_t AddressIn(const Box& box) {
  return QRegularExpression(QStringLiteral("адрес  (\\d+)\n"))
      .match(QString::fromStdString(box.text))
      .captured(1)
      .toULongLong();
}

// The fault message as the Part words it: Yes and No, the error icon, No the default.
void ExpectFaultMessage(const Box& box, ui::FaultKind kind) {
  EXPECT_EQ(box.caption, FaultCaption());
  EXPECT_EQ(box.text, FaultMessageText(ui::FaultDescription(kind), "", AddressIn(box)));
  EXPECT_NE(AddressIn(box), 0u);
  EXPECT_EQ(box.icon, static_cast<int>(ui::MessageIcon::kError));
  EXPECT_EQ(box.buttons, static_cast<int>(ui::MessageButtons::kYesNo));
  EXPECT_EQ(box.default_answer, static_cast<int>(ui::Answer::kNo));
}

struct FaultCase {
  const char* scenario;  // a command faults, or the signal is sent
  const char* kind;
  const char* answer;
  ui::FaultKind expected;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
  *os << c.scenario << ' ' << c.kind << ' ' << c.answer;
}

class FaultHandlerTest : public ::testing::TestWithParam<FaultCase> {};

// A sent signal (kill, sigqueue, tgkill) is no fault of the running code: nothing is
// abandoned, and it is asked about from the loop all the same.
TEST_P(FaultHandlerTest, SavesPicturesAsksAndEndsOrGoesOn) {
  const FaultCase& c = GetParam();
  testing::TempFolder folder;
  const std::filesystem::path recovery = folder.Path() / "recovery";
  const ProbeRun run = RunProbe(folder.Path(), c.scenario, c.kind, c.answer);
  const bool yes = std::string(c.answer) == "yes";
  SCOPED_TRACE(run.output.toStdString());

  ASSERT_FALSE(run.crashed);
  EXPECT_EQ(run.exit_code, yes ? kFatalExitCode : 0);
  EXPECT_FALSE(run.Says("NOT ABANDONED"));

  ASSERT_EQ(run.boxes.size(), 1u);
  ExpectFaultMessage(run.boxes[0], c.expected);
  if (std::string(c.scenario) == "command") {
    // The address of the faulting instruction.
    const QStringList functions = QRegularExpression(QStringLiteral("FUNCTION (\\d+) (\\d+)"))
                                      .match(run.output)
                                      .capturedTexts();
    ASSERT_EQ(functions.size(), 3);
    const std::uint64_t fault_function =
        functions[c.expected == ui::FaultKind::kStackOverflow ? 2 : 1].toULongLong();
    EXPECT_GE(AddressIn(run.boxes[0]), fault_function);
    EXPECT_LT(AddressIn(run.boxes[0]), fault_function + 256);
  }

  ExpectCopies(recovery);
  if (yes) {
    EXPECT_FALSE(run.Says("ALIVE"));
  } else {
    EXPECT_TRUE(run.Says("ALIVE 0")) << "New ran after No";
    // The second fault is passed over silently, with a fresh copy.
    EXPECT_TRUE(run.Says("SECOND messages=1"));
    EXPECT_EQ(FileBytes(recovery / "buffer04.rcv"), std::string(kPictureBytes, '\x44'));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultHandlerTest,
    ::testing::Values(FaultCase{"command", "segv", "no", ui::FaultKind::kAccessViolation},
                      FaultCase{"command", "fpe", "no", ui::FaultKind::kDivisionByZero},
                      FaultCase{"command", "stack", "no", ui::FaultKind::kStackOverflow},
                      FaultCase{"command", "ill", "no", ui::FaultKind::kIllegalInstruction},
                      FaultCase{"command", "segv", "yes", ui::FaultKind::kAccessViolation},
                      FaultCase{"command", "stack", "yes", ui::FaultKind::kStackOverflow},
                      FaultCase{"sent", "segv", "no", ui::FaultKind::kAccessViolation},
                      FaultCase{"sent", "bus:queue", "no", ui::FaultKind::kBusError},
                      FaultCase{"sent", "fpe:thread", "yes", ui::FaultKind::kArithmetic},
                      FaultCase{"sent", "ill", "no", ui::FaultKind::kIllegalInstruction}),
    [](const auto& info) {
      std::string name =
          std::string(info.param.scenario) + "_" + info.param.kind + "_" + info.param.answer;
      std::replace(name.begin(), name.end(), ':', '_');
      return name;
    });

// A fault while the closing question waits in its own event loop: the message appears, and
// after No the question is still there to be answered (Cancel), so the program goes on.
TEST(FaultDuringAQuestion, ShowsTheMessageAndLeavesTheQuestionsLoopWhole) {
  for (const char* scenario : {"prompt-handler", "prompt-sent"}) {
    SCOPED_TRACE(scenario);
    testing::TempFolder folder;
    const ProbeRun run = RunProbe(folder.Path(), scenario, "segv", "no");
    SCOPED_TRACE(run.output.toStdString());
    ASSERT_FALSE(run.crashed);
    EXPECT_EQ(run.exit_code, 0);
    ASSERT_EQ(run.boxes.size(), 2u);
    EXPECT_EQ(run.boxes[0].caption, "Сохранение файлов при закрытии программы");
    ExpectFaultMessage(run.boxes[1], ui::FaultKind::kAccessViolation);
    // In this order: the question's loop ended by itself, then the question was answered.
    const qsizetype loop_ended = run.output.indexOf(QLatin1String("LOOP ENDED"));
    EXPECT_GE(loop_ended, 0);
    EXPECT_GT(run.output.indexOf(QLatin1String("CLOSE RETURNED")), loop_ended);
    EXPECT_TRUE(run.Says("ALIVE 0"));
    ExpectCopies(folder.Path() / "recovery");
  }
}

// A fault in the question's loop itself, outside any event handler, cannot be abandoned
// without tearing that loop down: the copies are written and the program ends by the fault.
TEST(FaultDuringAQuestion, OfTheLoopItselfEndsTheProgramWithTheCopies) {
  testing::TempFolder folder;
  const ProbeRun run = RunProbe(folder.Path(), "prompt-idle", "segv", "no");
  SCOPED_TRACE(run.output.toStdString());
  EXPECT_TRUE(run.crashed);
  EXPECT_EQ(run.exit_code, SIGSEGV);
  EXPECT_FALSE(run.Says("CLOSE RETURNED")) << "the question's loop was unwound";
  EXPECT_FALSE(run.Says("LOOP LEFT"));
  ExpectCopies(folder.Path() / "recovery");
}

// A fault abandoned a slot of the logic panel reached through its button; No. The next normal
// close asks its questions, writes the settings and ends with 0.
TEST(NormalEndAfterAFault, AsksWritesTheSettingsAndEndsWithZero) {
  testing::TempFolder folder;
  const ProbeRun run = RunProbe(folder.Path(), "button", "segv", "no");
  SCOPED_TRACE(run.output.toStdString());
  ASSERT_FALSE(run.crashed);
  EXPECT_EQ(run.exit_code, 0);
  ASSERT_EQ(run.boxes.size(), 3u);
  ExpectFaultMessage(run.boxes[0], ui::FaultKind::kAccessViolation);
  for (int i : {1, 2}) {
    EXPECT_EQ(run.boxes[i].caption, "Сохранение файлов при закрытии программы");
  }
  EXPECT_NE(FileBytes(folder.Path() / "Glyphboard.inf").find("[Window]"), std::string::npos);
  // A normal end: the pictures went through the questions.
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "recovery" / "buffer02.rcv"));
}

// Logout, shutdown, kill and Ctrl+C: the copies of the modified pictures are written, the
// program ends with 128 + the signal, and the next start offers the pictures back, with a
// copy an earlier run left and this one did not touch.
TEST(EndingSignal, WritesTheCopiesAndEndsWith128PlusTheSignal) {
  for (const auto& [kind, signal] :
       {std::pair{"term", SIGTERM}, std::pair{"hup", SIGHUP}, std::pair{"int", SIGINT}}) {
    SCOPED_TRACE(kind);
    testing::TempFolder folder;
    const std::filesystem::path recovery = folder.Path() / "recovery";
    std::filesystem::create_directory(recovery);
    std::filesystem::permissions(recovery, std::filesystem::perms::owner_all);
    const std::string earlier(kPictureBytes, '\x05');
    std::ofstream(recovery / "buffer05.rcv", std::ios::binary) << earlier;
    const ProbeRun run = RunProbe(folder.Path(), "end", kind, "no");
    SCOPED_TRACE(run.output.toStdString());
    ASSERT_FALSE(run.crashed);
    EXPECT_EQ(run.exit_code, 128 + signal);
    EXPECT_TRUE(run.boxes.empty());
    ExpectCopies(recovery);
    EXPECT_EQ(FileBytes(recovery / "buffer05.rcv"), earlier);

    ui::ScriptedPlatform platform;
    platform.QueueAnswer(ui::Answer::kYes);
    MainWindow window(platform, Settings{});
    OfferRecovery(window, recovery.string());
    ASSERT_EQ(platform.Messages().size(), 1);
    EXPECT_EQ(platform.Messages()[0].caption.toStdString(), kRecoveryCaption);
    EXPECT_EQ(window.State().BufferFileName(2), "/pictures/кот.chr");
    EXPECT_TRUE(window.State().BufferModified(2));
    EXPECT_TRUE(window.State().BufferModified(3));
    EXPECT_EQ(window.State().Buffer(5).Bytes()[0], 0x05);
    EXPECT_FALSE(window.State().BufferModified(1));
  }
}

}  // namespace
}  // namespace lumigrid

// Processor faults in a child process: the recovery copies, the message, the exit code of Yes,
// and a loop that goes on after No.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/fault_handler.h"
#include "app/fault_message.h"
#include "app/recovery_file.h"
#include "core/temp_folder.h"
#include "ui/fault_trap.h"
#include "ui/platform.h"

namespace lumigrid {
namespace {

struct ProbeRun {
  int exit_code = -1;
  bool crashed = false;
  QString output;
};

ProbeRun RunProbe(const std::string& folder, const char* kind, const char* answer) {
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
  probe.start(
      QStringLiteral(LUMIGRID_FAULT_PROBE),
      {QString::fromStdString(folder), QString::fromLatin1(kind), QString::fromLatin1(answer)});
  ProbeRun run;
  if (!probe.waitForFinished(60000)) {
    probe.kill();
    probe.waitForFinished();
    return run;
  }
  run.crashed = probe.exitStatus() == QProcess::CrashExit;
  run.exit_code = probe.exitCode();
  run.output = QString::fromUtf8(probe.readAll());
  return run;
}

QString Tagged(const QString& output, const char* tag) {
  const QRegularExpression re(QStringLiteral("%1<<(.*?)>>").arg(QLatin1String(tag)),
                              QRegularExpression::DotMatchesEverythingOption);
  return re.match(output).captured(1);
}

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

struct FaultCase {
  const char* kind;
  const char* answer;
  ui::FaultKind expected;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.kind << ' ' << c.answer; }

class FaultHandlerTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultHandlerTest, SavesPicturesAsksAndEndsOrGoesOn) {
  const FaultCase& c = GetParam();
  testing::TempFolder folder;
  const std::filesystem::path recovery = folder.Path() / "recovery";
  const ProbeRun run = RunProbe(recovery.string(), c.kind, c.answer);
  const bool yes = std::string(c.answer) == "yes";
  SCOPED_TRACE(run.output.toStdString());

  ASSERT_FALSE(run.crashed);
  EXPECT_EQ(run.exit_code, yes ? kFatalExitCode : 0);
  EXPECT_FALSE(run.output.contains(QStringLiteral("NOT ABANDONED")));

  // The message, with the address of the faulting instruction.
  EXPECT_EQ(Tagged(run.output, "CAPTION").toStdString(), FaultCaption());
  const std::string text = Tagged(run.output, "TEXT").toStdString();
  const QRegularExpressionMatch address =
      QRegularExpression(QStringLiteral("адрес  (\\d+)\n")).match(QString::fromStdString(text));
  ASSERT_TRUE(address.hasMatch()) << text;
  const std::uint64_t at = address.captured(1).toULongLong();
  EXPECT_EQ(text, FaultMessageText(ui::FaultDescription(c.expected), "", at));
  const QStringList functions = QRegularExpression(QStringLiteral("FUNCTION (\\d+) (\\d+)"))
                                    .match(run.output)
                                    .capturedTexts();
  ASSERT_EQ(functions.size(), 3);
  const std::uint64_t fault_function =
      functions[c.expected == ui::FaultKind::kStackOverflow ? 2 : 1].toULongLong();
  EXPECT_GE(at, fault_function);
  EXPECT_LT(at, fault_function + 256);
  EXPECT_TRUE(run.output.contains(QStringLiteral("BOX icon=%1 buttons=%2 default=%3")
                                      .arg(static_cast<int>(ui::MessageIcon::kError))
                                      .arg(static_cast<int>(ui::MessageButtons::kYesNo))
                                      .arg(static_cast<int>(ui::Answer::kNo))));

  // Copies of the modified pictures only.
  std::string expected2;
  for (int i = 0; i < kPictureBytes; ++i) expected2 += static_cast<char>(i * 3);
  EXPECT_EQ(FileBytes(recovery / "buffer02.rcv"), expected2 + "/pictures/кот.chr");
  EXPECT_EQ(FileBytes(recovery / "buffer03.rcv"), std::string(kPictureBytes, '\x5A'));
  EXPECT_FALSE(std::filesystem::exists(recovery / "buffer01.rcv"));
  EXPECT_EQ(std::filesystem::status(recovery).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_all);

  if (yes) {
    EXPECT_FALSE(run.output.contains(QStringLiteral("ALIVE")));
  } else {
    EXPECT_TRUE(run.output.contains(QStringLiteral("ALIVE 0"))) << "New ran after No";
    // The second fault is passed over silently, with a fresh copy.
    EXPECT_TRUE(run.output.contains(QStringLiteral("SECOND messages=1")));
    EXPECT_EQ(FileBytes(recovery / "buffer04.rcv"), std::string(kPictureBytes, '\x44'));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultHandlerTest,
    ::testing::Values(FaultCase{"segv", "no", ui::FaultKind::kAccessViolation},
                      FaultCase{"fpe", "no", ui::FaultKind::kDivisionByZero},
                      FaultCase{"stack", "no", ui::FaultKind::kStackOverflow},
                      FaultCase{"ill", "no", ui::FaultKind::kIllegalInstruction},
                      FaultCase{"segv", "yes", ui::FaultKind::kAccessViolation},
                      FaultCase{"stack", "yes", ui::FaultKind::kStackOverflow}),
    [](const auto& info) {
      return std::string(info.param.kind) + "_" + std::string(info.param.answer);
    });

}  // namespace
}  // namespace lumigrid

#include "app/fault_message.h"

#include <gtest/gtest.h>

#include "app/recovery_file.h"

namespace lumigrid {
namespace {

constexpr const char* kClosing =
    "\nРаботу программы можно завершить\nпрямо сейчас, либо отказаться от этого, \nно программа "
    "может работать нестабильно!\nЗавершить работу программы?";

struct MessageCase {
  const char* name;
  const char* description;
  const char* instruction;
  std::uint64_t address;
  std::string expected;
};

void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.name; }

class FaultMessageTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(FaultMessageTest, Layout) {
  const MessageCase& c = GetParam();
  EXPECT_EQ(FaultMessageText(c.description, c.instruction, c.address), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FaultMessageTest,
    ::testing::Values(
        MessageCase{
            "NoDescription", "", "", 0x12D687,
            std::string("Обнаружена ошибка в инструкции    \nкоторая имеет адрес  1234567\n") +
                kClosing},
        MessageCase{"BlankDescription", " \t ", "mov eax, [0]", 7,
                    std::string("Обнаружена ошибка в инструкции    mov eax, [0]\nкоторая имеет "
                                "адрес  7\n") +
                        kClosing},
        MessageCase{"DescriptionKeptUntrimmed", " Деление на ноль ", "", 4096,
                    std::string("Обнаружена ошибка в инструкции    \nкоторая имеет адрес  4096\n"
                                "\nОписание ошибки:\n Деление на ноль \n") +
                        kClosing},
        MessageCase{"SixtyFourBitAddress", "x", "", 0xFFFF800000001000ULL,
                    std::string("Обнаружена ошибка в инструкции    \nкоторая имеет адрес  "
                                "18446603336221200384\n\nОписание ошибки:\nx\n") +
                        kClosing}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FaultMessageTest, Caption) {
  EXPECT_EQ(FaultCaption(), "Lumigrid v 3.8  —   — обработчик фатальных ошибок!!!");
}

TEST(RecoveryFileTest, NamesAndRoundTrip) {
  EXPECT_EQ(RecoveryFileName(1), "buffer01.rcv");
  EXPECT_EQ(RecoveryFileName(10), "buffer10.rcv");
  PictureBuffer buffer;
  for (int i = 0; i < kPictureBytes; ++i) buffer.Bytes()[i] = static_cast<uint8_t>(i * 7);
  buffer.SetFileName("/дом/рисунок.chr");
  const auto back = ParseRecoveryFile(RecoveryFileContent(buffer));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->bytes, buffer.Bytes());
  EXPECT_EQ(back->file_name, buffer.FileName());
}

TEST(RecoveryFileTest, RefusesWhatIsNoCopy) {
  EXPECT_FALSE(ParseRecoveryFile(std::string(kPictureBytes - 1, 'x')));
  EXPECT_FALSE(ParseRecoveryFile(std::string(kPictureBytes + kMaxRecoveredNameBytes + 1, 'x')));
  const auto unnamed = ParseRecoveryFile(std::string(kPictureBytes, '\xFF'));
  ASSERT_TRUE(unnamed);
  EXPECT_EQ(unnamed->file_name, "");
  EXPECT_EQ(unnamed->bytes[kPictureBytes - 1], 0xFF);
}

}  // namespace
}  // namespace lumigrid

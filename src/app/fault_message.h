// The text of the message shown after a processor fault, and of the recovery question at the
// next start.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumigrid {

std::string FaultCaption();

// The message: the instruction (may be empty), its address in decimal, the description block
// when the description is not blank, and the closing question.
std::string FaultMessageText(std::string_view description, std::string_view instruction,
                             std::uint64_t address);

inline constexpr const char* kRecoveryCaption = "Восстановление";
inline constexpr const char* kRecoveryQuestion =
    "Найдены несохранённые рисунки, оставшиеся после аварийного завершения.\nВосстановить их?";

}  // namespace lumigrid

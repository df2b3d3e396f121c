#include "app/fault_message.h"

#include "app/texts.h"

namespace lumigrid {

std::string FaultCaption() {
  return std::string(kTitlePrefix) + " — обработчик фатальных ошибок!!!";
}

std::string FaultMessageText(std::string_view description, std::string_view instruction,
                             std::uint64_t address) {
  std::string block;
  if (description.find_first_not_of(" \t\r\n") != std::string_view::npos) {
    block = "\nОписание ошибки:\n" + std::string(description) + "\n";
  }
  return "Обнаружена ошибка в инструкции    " + std::string(instruction) +
         "\nкоторая имеет адрес  " + std::to_string(address) + "\n" + block +
         "\nРаботу программы можно завершить\nпрямо сейчас, либо отказаться от этого, \nно "
         "программа может работать нестабильно!\nЗавершить работу программы?";
}

}  // namespace lumigrid

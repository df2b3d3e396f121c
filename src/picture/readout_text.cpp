#include "picture/readout_text.h"

namespace lumigrid {

std::string HexByte(uint8_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {'0', 'x', kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::string PositionValuesText(const CellPlace& place) {
  return std::to_string(place.crystal) + "\n\n" + std::to_string(place.page) + "\n\n" +
         std::to_string(place.group);
}

std::string CodeFieldText(const CellBytes& bytes) {
  std::string text;
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    if (k != 0) text += ',';
    text += HexByte(bytes[k]);
  }
  return text;
}

std::string HintText(const CellPlace& place) {
  return "Кристалл — " + std::to_string(place.crystal) + ";  Страница — " +
         std::to_string(place.page) + ";  Сегмент  — " + std::to_string(place.group);
}

}  // namespace lumigrid

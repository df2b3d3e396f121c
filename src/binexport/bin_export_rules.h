// What the binary export command asks and says: its dialog, the name rule and the messages.
#pragma once

#include <string>
#include <string_view>

namespace lumigrid {

inline constexpr const char* kBinDialogTitle = "Сохранение преобразованого файла...";
inline constexpr const char* kBinDialogFilter = "Бинарные файлы (*.BIN)|*.BIN|Все файлы|*.*";
inline constexpr int kBinFilterBinary = 0;

inline constexpr const char* kBinMissingCaption = "Добавление данный в файл";
inline constexpr const char* kBinMemoryCaption = "Преобразование";
inline constexpr const char* kBinMemoryText = "Ошибка при доступе к памяти!";
inline constexpr const char* kBinErrorCaption = "Ошибка";
inline constexpr const char* kBinDoneCaption = "Преобразование";
inline constexpr const char* kBinNoAddressCaption = "Предупреждение";
inline constexpr const char* kBinNoAddressText =
    "Поле  \"Начальный адрес\"  не заполено\n"
    "Нужно указать начальный адрес добавляемых данных в файл.";
inline constexpr const char* kBinBeyondEndCaption = "Внимание";
inline constexpr const char* kBinBeyondEndText =
    "Начальный адрес был задан больше текущего размера файла!\n"
    "Добавить данные в конец файла?";

// With the binary filter a name typed without extension gets ".bin"; with any other filter
// the name stays as typed.
std::string WithBinExtension(std::string path, int filter);

std::string BinMissingFileText(std::string_view path);
std::string BinOpenFailedText(std::string_view path);
std::string BinWriteFailedText(std::string_view path);
std::string BinDoneText(std::string_view path);

}  // namespace lumigrid

#include "binexport/bin_export_rules.h"

#include "files/path_text.h"

namespace lumigrid {

namespace {

std::string Quoted(std::string_view path) { return "\"" + std::string(path) + "\""; }

}  // namespace

std::string WithBinExtension(std::string path, int filter) {
  if (filter == kBinFilterBinary && PathExtension(path).empty()) path += ".bin";
  return path;
}

std::string BinMissingFileText(std::string_view path) {
  return "Файл  " + Quoted(path) + "  не существует!\nСоздать его?";
}

std::string BinOpenFailedText(std::string_view path) {
  return "Не удалось открыть файл \n" + Quoted(path);
}

std::string BinWriteFailedText(std::string_view path) {
  return "Не удалось записать файл \n" + Quoted(path);
}

std::string BinDoneText(std::string_view path) {
  return "Преобразование информации завершено.\nДанные были добавлены в файл\n" + std::string(path);
}

}  // namespace lumigrid

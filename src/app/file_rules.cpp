#include "app/file_rules.h"

#include "app/texts.h"
#include "files/path_text.h"
#include "files/safe_file.h"

namespace lumigrid {

namespace {

bool IsNonEmptyFile(const std::string& path) {
  if (path.empty()) return false;
  const auto size = FileSize(path);  // none for folders and missing files
  return size && *size > 0;
}

}  // namespace

bool IsImagePath(std::string_view path) {
  const std::string ext = LowerAscii(PathExtension(path));
  return ext == "bmp" || ext == "jpg" || ext == "png";
}

int OpenDialogFilter(std::string_view newest_recent_file) {
  return IsImagePath(newest_recent_file) ? kOpenFilterImages : kOpenFilterPictures;
}

bool SavesUnderOwnName(std::string_view buffer_file_name) {
  return !buffer_file_name.empty() && HasExtension(buffer_file_name, "chr");
}

std::string WithPictureExtension(std::string path) {
  if (PathExtension(path).empty()) path += ".chr";
  return path;
}

std::string DroppedFile(const std::vector<std::string>& names) {
  if (names.empty()) return {};
  const std::string& first = names.front();
  if (!IsNonEmptyFile(first)) return {};
  if (!HasExtension(first, "chr") && !IsImagePath(first)) return {};
  return first;
}

std::string StartupFile(const std::vector<std::string>& parameters) {
  if (parameters.empty() || !IsNonEmptyFile(parameters.front())) return {};
  return parameters.front();
}

std::string OpenFailedText(std::string_view path) {
  return "Не удалось открыть файл\n" + std::string(path);
}

std::string ImageFailedCaption() { return std::string(kTitlePrefix) + "Ошибка"; }

std::string ImageFailedText(std::string_view path) {
  return "Не удалось загрузить рисунок\n" + std::string(path) + "\nВозможно он повреждён";
}

std::string UnsavedQuestion(std::string_view buffer_file_name) {
  if (buffer_file_name.empty()) return "Данные не были сохранены, сохранить их сейчас?";
  return "Файл   \"" + PathFilePart(buffer_file_name) + "\"\nбыл изменён, сохранить  изменения?";
}

}  // namespace lumigrid

// What the picture file commands and the unsaved-changes prompts decide and say: dialog
// titles and filters, message texts, which paths qualify and how a typed name is completed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumigrid {

inline constexpr const char* kOpenDialogTitle = "Открыть файл...";
inline constexpr const char* kOpenDialogFilter =
    "Font Files (*.chr)|*.chr|Рисунки в форматах BMP, JPG, PNG|*.bmp;*.jpg;*.png|Все файлы|*.*";
inline constexpr int kOpenFilterPictures = 0;
inline constexpr int kOpenFilterImages = 1;

inline constexpr const char* kSaveDialogTitle = "Сохранить файл...";
inline constexpr const char* kSaveDialogFilter = "Font Files (*.chr)|*.chr|All Files|*.*";

inline constexpr const char* kErrorCaption = "Ошибка";
inline constexpr const char* kDiscardCaption = "Сохранение файла";
inline constexpr const char* kQuitCaption = "Сохранение файлов при закрытии программы";

// True for the extensions the image import takes: "bmp", "jpg", "png" in any letter case.
bool IsImagePath(std::string_view path);

// The filter the Open dialog starts with: the images when the newest recent file is one.
int OpenDialogFilter(std::string_view newest_recent_file);

// Save writes under the buffer's own name only when it is a picture file; anything else
// (no name, an imported image, ".bin") asks for a name.
bool SavesUnderOwnName(std::string_view buffer_file_name);

// A name typed without extension becomes a picture file; any other extension stays.
std::string WithPictureExtension(std::string path);

// The first dropped name when it is an existing non-empty ".chr", ".bmp", ".jpg" or ".png"
// file; empty otherwise (the rest of the drop is ignored).
std::string DroppedFile(const std::vector<std::string>& names);

// The first parameter when it names an existing non-empty file, whatever its extension;
// empty otherwise.
std::string StartupFile(const std::vector<std::string>& parameters);

std::string OpenFailedText(std::string_view path);
std::string ImageFailedCaption();
std::string ImageFailedText(std::string_view path);

// The question before buffer changes are lost: about "the data" while the buffer has no
// file, else about its file by name without folders.
std::string UnsavedQuestion(std::string_view buffer_file_name);

}  // namespace lumigrid

#include "app/file_rules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/temp_folder.h"
#include "files/safe_file.h"

namespace lumigrid {
namespace {

TEST(FileRules, OpenDialogStartsWithImagesAfterAnImage) {
  struct Case {
    const char* newest;
    int filter;
  };
  const Case cases[] = {
      {"", kOpenFilterPictures},
      {"C:\\pics\\logo.chr", kOpenFilterPictures},
      {"C:\\pics\\Photo.JPG", kOpenFilterImages},
      {"/home/u/a.png", kOpenFilterImages},
      {"Picture.BMP", kOpenFilterImages},
      {"scan.jpeg", kOpenFilterPictures},  // only the three extensions the import names
      {"C:\\x.png\\data", kOpenFilterPictures},
  };
  for (const Case& c : cases) EXPECT_EQ(OpenDialogFilter(c.newest), c.filter) << c.newest;
}

TEST(FileRules, SaveUsesTheOwnNameOnlyForPictureFiles) {
  struct Case {
    const char* name;
    bool own;
  };
  const Case cases[] = {
      {"", false},        {"a.CHR", true}, {"D:\\pics\\logo.chr", true}, {"logo.png", false},
      {"pic.bin", false}, {"data", false}, {"a.chr.bak", false},         {"C:\\x.chr\\y", false},
  };
  for (const Case& c : cases) EXPECT_EQ(SavesUnderOwnName(c.name), c.own) << c.name;
}

TEST(FileRules, ATypedNameWithoutExtensionBecomesAPictureFile) {
  struct Case {
    const char* typed;
    const char* saved;
  };
  const Case cases[] = {
      {"pic", "pic.chr"},
      {"pic.bin", "pic.bin"},
      {"a.CHR", "a.CHR"},
      {"/home/u/my.pics/pic", "/home/u/my.pics/pic.chr"},
      {"C:\\my.pics\\pic", "C:\\my.pics\\pic.chr"},
      {"notes.txt", "notes.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(WithPictureExtension(c.typed), c.saved) << c.typed;
}

class QualifyingFiles : public ::testing::Test {
 protected:
  std::string Make(const std::string& name, std::size_t size) {
    const std::string path = folder_.File(name);
    std::ofstream(PathFromFolder(name), std::ios::binary) << std::string(size, 'x');
    return path;
  }
  std::filesystem::path PathFromFolder(const std::string& name) {
    return folder_.Path() / std::u8string(name.begin(), name.end());
  }
  testing::TempFolder folder_;
};

TEST_F(QualifyingFiles, OnlyTheFirstDroppedNonEmptyPictureOrImageQualifies) {
  const std::string chr = Make("logo.chr", 1024);
  const std::string png = Make("Фото.PNG", 10);
  const std::string txt = Make("notes.txt", 10);
  const std::string empty = Make("empty.chr", 0);
  std::filesystem::create_directory(PathFromFolder("dir.chr"));
  struct Case {
    std::vector<std::string> names;
    std::string opened;
  };
  const Case cases[] = {
      {{chr, png, txt}, chr},
      {{png}, png},
      {{txt, chr}, ""},  // the others of a drop are never tried
      {{empty}, ""},
      {{folder_.File("dir.chr")}, ""},
      {{folder_.File("missing.chr")}, ""},
      {{""}, ""},
      {{}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DroppedFile(c.names), c.opened) << (c.names.empty() ? "none" : c.names.front());
  }
}

TEST_F(QualifyingFiles, TheStartupFileNeedsContentButNoExtension) {
  const std::string txt = Make("notes.txt", 3);
  const std::string bare = Make("data", 1);
  const std::string empty = Make("empty.chr", 0);
  struct Case {
    std::vector<std::string> parameters;
    std::string opened;
  };
  const Case cases[] = {
      {{txt}, txt},
      {{bare, "ignored"}, bare},
      {{empty}, ""},
      {{folder_.File("missing.chr")}, ""},
      {{folder_.File("")}, ""},  // the folder itself
      {{"", txt}, ""},
      {{}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StartupFile(c.parameters), c.opened)
        << (c.parameters.empty() ? "none" : c.parameters.front());
  }
}

TEST(FileRules, QuestionNamesTheFileWithoutItsFolder) {
  EXPECT_EQ(UnsavedQuestion(""), "Данные не были сохранены, сохранить их сейчас?");
  EXPECT_EQ(UnsavedQuestion("D:\\pics\\logo.chr"),
            "Файл   \"logo.chr\"\nбыл изменён, сохранить  изменения?");
  EXPECT_EQ(UnsavedQuestion("/home/u/картинка.png"),
            "Файл   \"картинка.png\"\nбыл изменён, сохранить  изменения?");
  EXPECT_EQ(UnsavedQuestion("plain"), "Файл   \"plain\"\nбыл изменён, сохранить  изменения?");
}

TEST(FileRules, FailureMessagesEndWithThePath) {
  EXPECT_EQ(OpenFailedText("C:\\a.chr"), "Не удалось открыть файл\nC:\\a.chr");
  EXPECT_EQ(SaveFailedText("C:\\a.chr"), "Не удалось сохранить файл\nC:\\a.chr");
  EXPECT_EQ(ImageFailedCaption(), "Lumigrid v 3.8  —  Ошибка");
  EXPECT_EQ(ImageFailedText("photo.jpg"),
            "Не удалось загрузить рисунок\nphoto.jpg\nВозможно он повреждён");
}

}  // namespace
}  // namespace lumigrid

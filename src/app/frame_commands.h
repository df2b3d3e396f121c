// The animation panel's sequence outside the editor: "Сохранить анимацию как GIF…",
// "Экспорт покадровой программы…" and "Бюджет обновлений…" of the menu "Рисунок".
#pragma once

#include <QObject>
#include <QPointer>
#include <optional>
#include <vector>

#include "app/settings.h"
#include "picture/picture_buffer.h"

namespace lumigrid {

class CommandTable;
class FrameBudgetDialog;
class GifExportDialog;
class MainWindow;

inline constexpr const char* kGifCaption = "Сохранить анимацию как GIF";
inline constexpr const char* kGifFilter = "Анимация GIF (*.gif)|*.gif|Все файлы|*.*";
inline constexpr const char* kFrameTableCaption = "Экспорт покадровой программы";
// The filter chosen decides the form: assembly, C or the raw table.
inline constexpr const char* kFrameTableFilter =
    "Ассемблер (*.asm, *.inc, *.txt)|*.asm;*.inc;*.txt|Си (*.c, *.h)|*.c;*.h|"
    "Двоичная таблица (*.bin)|*.bin";
inline constexpr const char* kFrameBudgetCaption = "Бюджет обновлений";

class FrameCommands : public QObject {
  Q_OBJECT

 public:
  FrameCommands(MainWindow& window, const Settings& settings);

  void Register(CommandTable& commands);

  void SaveAnimationGif();
  void ExportFrameTable();
  void ShowBudget();

  // The dialogs while they are open.
  GifExportDialog* GifDialog() const;
  FrameBudgetDialog* BudgetDialog() const;

  // The choices kept between runs.
  void StoreSettings(Settings& settings) const;

 private:
  struct Sequence {
    std::vector<int> buffers;
    std::vector<PictureBytes> pictures;
  };
  // The animation panel's pictures; a message under `caption` when there are fewer than
  // `at_least`.
  std::optional<Sequence> PanelSequence(const char* caption, std::size_t at_least);
  void WriteGif(const GifExportDialog& dialog);
  void Report(const QString& caption, const QString& text, bool error);

  MainWindow& window_;
  int gif_look_;
  int gif_scale_;
  int cycle_ns_;
  QPointer<GifExportDialog> gif_dialog_;
  QPointer<FrameBudgetDialog> budget_dialog_;
};

}  // namespace lumigrid

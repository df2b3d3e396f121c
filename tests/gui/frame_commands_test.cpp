// The animation panel's sequence through the menu "Рисунок": saved as GIF, exported as a frame
// table exactly as lumigrid-cli writes it, and its update budget shown as ComputeFrameBudget
// counts it.
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "app/commands.h"
#include "app/frame_commands.h"
#include "app/main_menus.h"
#include "app/tool_commands.h"
#include "cli/cli_test_support.h"
#include "codegen/conversion_panel.h"
#include "file_test_support.h"
#include "files/gif_encode.h"
#include "files/picture_file.h"
#include "frames/frame_budget_dialog.h"
#include "optimize/identical_scan.h"
#include "optimize/optimize_panel.h"
#include "picture/canvas_widget.h"
#include "tools/animation_panel.h"
#include "tools/gif_export_dialog.h"

namespace lumigrid::testing_support {
namespace {

class FrameCommandsTest : public FileTest {
 protected:
  // Buffers 2, 5 and 2 again in the panel's lists 1, 2 and 4, with patterned pictures.
  void SetUp() override {
    FileTest::SetUp();
    for (int b = 1; b <= kBufferCount; ++b) State().Buffer(b).Bytes() = Pattern(b * 11);
    AnimationPanel& panel = Window().Tools().Animation();
    panel.PictureList(1)->setCurrentIndex(2);
    panel.PictureList(2)->setCurrentIndex(5);
    panel.PictureList(4)->setCurrentIndex(2);
    panel.DelayList()->setCurrentIndex(3);  // "100"
  }
  std::vector<PictureBytes> Sequence() {
    return {State().Buffer(2).Bytes(), State().Buffer(5).Bytes(), State().Buffer(2).Bytes()};
  }
  // The sequence as .chr files, for lumigrid-cli.
  std::vector<std::string> SequenceFiles() {
    std::vector<std::string> paths;
    int i = 0;
    for (const PictureBytes& p : Sequence())
      paths.push_back(WritePicture(std::to_string(++i) + ".chr", p));
    return paths;
  }
  void ClearLists() {
    for (int k = 1; k <= kAnimationLists; ++k) {
      Window().Tools().Animation().PictureList(k)->setCurrentIndex(0);
    }
  }
};

TEST_F(FrameCommandsTest, TheFourItemsCloseTheMenuAfterASeparator) {
  QMenu* menu = Window().Menus().TopMenu(2);
  const QList<QAction*> actions = menu->actions();
  ASSERT_GE(actions.size(), 5);
  const int last = static_cast<int>(actions.size()) - 1;
  EXPECT_TRUE(actions[last - 4]->isSeparator());
  const QStringList texts{"Импорт с настройками…", "Сохранить анимацию как GIF…",
                          "Экспорт покадровой программы…", "Бюджет обновлений…"};
  const int numbers[] = {150, 151, 152, 153};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(actions[last - 3 + i]->text(), texts[i]);
    EXPECT_EQ(actions[last - 3 + i]->data().toInt(), numbers[i]);
  }
}

TEST_F(FrameCommandsTest, TheExportedTableIsWhatLumigridCliWrites) {
  ConversionPanel* panel = Window().ConversionSidePanel();
  ListingOptions listing = panel->Options();
  listing.use_dt = false;
  listing.directive_name = "retlw";
  listing.first_indent = 3;
  listing.second_indent = 5;
  panel->SetOptions(listing);
  const std::vector<std::string> files = SequenceFiles();
  struct Case {
    int filter;
    std::string name;
    std::string file;
    std::vector<std::string> format;
  };
  const Case cases[] = {
      {0,
       "intro",
       "intro.asm",
       {"--format", "asm", "--directive", "retlw", "--indent1", "3", "--indent2", "5"}},
      {1, "intro", "intro.c", {"--format", "c"}},
      {2, "intro", "intro.bin", {"--format", "bin"}},
      {2, "table.inc", "table.inc", {"--format", "bin"}},  // the filter decides, not the name
  };
  for (const Case& c : cases) {
    Platform().QueueFile(Q(PathOf(c.name)), c.filter);
    Window().Dispatch(command::kExportFrameTable);
    std::vector<std::string> args{"frames", "--loop"};
    args.insert(args.end(), c.format.begin(), c.format.end());
    args.insert(args.end(), files.begin(), files.end());
    const auto cli = cli::testing::RunInProcess(args);
    ASSERT_EQ(cli.exit_code, 0) << cli.err;
    EXPECT_EQ(ReadAll(PathOf(c.file)), cli.out) << c.file;
  }
  ASSERT_FALSE(Platform().Dialogs().empty());
  EXPECT_EQ(Platform().Dialogs().back().request.title, "Экспорт покадровой программы");
  EXPECT_EQ(Platform().Dialogs().back().request.filter,
            "Ассемблер (*.asm, *.inc, *.txt)|*.asm;*.inc;*.txt|Си (*.c, *.h)|*.c;*.h|"
            "Двоичная таблица (*.bin)|*.bin");
  EXPECT_TRUE(Shown().isEmpty()) << Shown().join("\n").toStdString();

  // An own directive without a name is refused as the conversion panel refuses it.
  listing.directive_name.clear();
  panel->SetOptions(listing);
  Platform().QueueFile(Q(PathOf("none.asm")), 0);
  Window().Dispatch(command::kExportFrameTable);
  EXPECT_EQ(Shown(), QStringList{"Преобразование... | Не выбрано имя директивы | exclamation ok"});
  EXPECT_FALSE(std::filesystem::exists(PathFromUtf8(PathOf("none.asm"))));
}

TEST_F(FrameCommandsTest, AFailedWriteIsReported) {
  const std::string path = PathOf("missing/table");
  Platform().QueueFile(Q(path), 2);
  Window().Dispatch(command::kExportFrameTable);
  EXPECT_EQ(Shown(),
            QStringList{ErrorMessage("Ошибка", "Не удалось сохранить файл\n" + Q(path + ".bin"))})
      << "a name without extension gets the filter's";
}

TEST_F(FrameCommandsTest, TheGifIsTheSequenceAtTheChosenLookAndThePanelsDelay) {
  struct Case {
    bool canvas;
    int scale;
    RenderLook look;
  };
  for (const Case c : {Case{true, 1, RenderLook::kCanvas}, Case{false, 3, RenderLook::kPlain}}) {
    Window().Dispatch(command::kSaveAnimationGif);
    GifExportDialog* dialog = Window().Frames().GifDialog();
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(c.canvas ? dialog->CanvasOption() : dialog->PlainOption(), Qt::LeftButton);
    EXPECT_EQ(dialog->ScaleField()->isEnabled(), !c.canvas);
    dialog->ScaleField()->setValue(c.scale);
    Platform().QueueFile(Q(PathOf("anim")));
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_EQ(ReadAll(PathOf("anim.gif")), *EncodeGifAnimation(Sequence(), c.look, c.scale, 100))
        << c.scale;
  }
  // The look is kept for the next time and between runs.
  const Settings stored = Window().CollectSettings();
  EXPECT_EQ(stored.gif_look, 1);
  EXPECT_EQ(stored.gif_scale, 3);
  Window().Dispatch(command::kSaveAnimationGif);
  EXPECT_TRUE(Window().Frames().GifDialog()->PlainOption()->isChecked());
  QTest::mouseClick(Window().Frames().GifDialog()->CancelButton(), Qt::LeftButton);
  EXPECT_TRUE(Shown().isEmpty());

  // Fewer than two pictures: the panel's own refusal.
  Window().Tools().Animation().PictureList(2)->setCurrentIndex(0);
  Window().Tools().Animation().PictureList(4)->setCurrentIndex(0);
  Window().Dispatch(command::kSaveAnimationGif);
  EXPECT_EQ(Window().Frames().GifDialog(), nullptr);
  EXPECT_EQ(Shown(), QStringList{"Сохранить анимацию как GIF | Для анимации нужно как минимум 2 "
                                 "рисунка! | exclamation ok"});
}

TEST_F(FrameCommandsTest, TheBudgetDialogShowsComputeFrameBudgetsNumbers) {
  Window().OptimizeSidePanel()->SetStartState(2, true);
  Window().Dispatch(command::kFrameBudget);
  FrameBudgetDialog* dialog = Window().Frames().BudgetDialog();
  ASSERT_NE(dialog, nullptr);
  const std::vector<PictureBytes> pictures = Sequence();
  std::vector<const PictureBytes*> sources;
  for (const PictureBytes& p : pictures) sources.push_back(&p);
  const PictureBytes map = ScanIdenticalBytes(sources, 2);
  SequenceOptions loop;
  loop.loop = true;

  for (const int cycle : {1000, 250}) {
    dialog->CycleField()->setValue(cycle);
    const FrameBudget budget = *ComputeFrameBudget(pictures, map, loop, cycle);
    EXPECT_EQ(dialog->Budget().transitions.size(), budget.transitions.size());
    QTableWidget* table = dialog->Table();
    const auto& methods = BudgetMethods();
    const auto cell = [table](int row, int column) { return table->item(row, column)->text(); };
    for (std::size_t t = 0; t <= budget.transitions.size(); ++t) {
      const TransitionBudget& expected =
          t < budget.transitions.size() ? budget.transitions[t] : budget.total;
      const int first = dialog->FirstRowOf(static_cast<int>(t));
      EXPECT_EQ(cell(first, 1), QString::number(expected.changed_bytes)) << t;
      const std::vector<int> cheapest = CheapestMethods(expected);
      for (std::size_t m = 0; m < methods.size(); ++m) {
        const MethodBudget& cost = expected.*methods[m].cost;
        const int row = first + static_cast<int>(m);
        EXPECT_EQ(cell(row, 3), QString::number(cost.data_writes));
        EXPECT_EQ(cell(row, 4), QString::number(cost.operations));
        EXPECT_EQ(cell(row, 5), QString::number(cost.table_bytes));
        EXPECT_EQ(cell(row, 6), QString::fromStdString(MicrosecondsText(cost.bus_time_ns)));
        if (methods[m].start_line && t < budget.transitions.size()) {
          EXPECT_EQ(cell(row, 7), QString::number(expected.start_line));
        }
        const bool highlighted = table->item(row, 4)->font().bold();
        EXPECT_EQ(highlighted, std::find(cheapest.begin(), cheapest.end(), static_cast<int>(m)) !=
                                   cheapest.end())
            << "transition " << t << " method " << m;
        if (t < budget.transitions.size()) {
          EXPECT_EQ(dialog->Chart()->Values()[t][m], cost.operations);
        }
      }
    }
    // Labels name the buffers: blank to 2, 2 to 5, 5 to 2, 2 back to 2.
    EXPECT_EQ(table->item(0, 0)->text(), "пусто → 2");
    EXPECT_EQ(table->item(dialog->FirstRowOf(1), 0)->text(), "2 → 5");
    EXPECT_EQ(table->item(dialog->FirstRowOf(4), 0)->text(), "Всего");
  }
  // The cycle time is kept between runs.
  EXPECT_EQ(Window().CollectSettings().cycle_ns, 250);
}

TEST_F(FrameCommandsTest, NoPicturesInThePanelNothingToExport) {
  ClearLists();
  Window().Dispatch(command::kExportFrameTable);
  Window().Dispatch(command::kFrameBudget);
  EXPECT_EQ(Window().Frames().BudgetDialog(), nullptr);
  EXPECT_TRUE(Platform().Dialogs().empty());
  EXPECT_EQ(Shown(), (QStringList{"Экспорт покадровой программы | В панели анимации не выбран ни "
                                  "один рисунок. | exclamation ok",
                                  "Бюджет обновлений | В панели анимации не выбран ни один "
                                  "рисунок. | exclamation ok"}));
}

TEST(PictureRender, TheCanvasLookIsTheCanvasWidgetsDrawing) {
  PictureBytes bytes = Pattern(3);
  bytes[0] = 0xFF;
  CanvasWidget canvas;
  PictureBuffer picture;
  picture.Bytes() = bytes;
  canvas.DrawPicture(picture);
  const IndexedImage image = RenderPicture(bytes, RenderLook::kCanvas);
  ASSERT_EQ(QSize(image.width, image.height), canvas.Image().size());
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb c = kRenderPalette[image.At(x, y)];
      ASSERT_EQ(QColor(canvas.Image().pixel(x, y)), QColor(c.r, c.g, c.b)) << x << "," << y;
    }
  }
  const IndexedImage plain = RenderPicture(bytes, RenderLook::kPlain, 2);
  for (int y = 0; y < plain.height; ++y)
    for (int x = 0; x < plain.width; ++x)
      ASSERT_EQ(plain.At(x, y) == kRenderLit, picture.Pixel(x / 2, y / 2)) << x << "," << y;
}

}  // namespace
}  // namespace lumigrid::testing_support

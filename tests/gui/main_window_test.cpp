// The main window as a user first meets it: layout, menus, toolbar, shortcuts, styles, About.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPropertyAnimation>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOptionMenuItem>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <functional>
#include <vector>

#include "app/about_window.h"
#include "app/commands.h"
#include "app/main_menus.h"
#include "app/startup_window.h"
#include "app/work_modes.h"
#include "codegen/listing_view.h"
#include "picture/canvas_widget.h"
#include "picture/cell_panel.h"
#include "picture/editor.h"
#include "test_support.h"
#include "ui/side_panel_frame.h"

namespace lumigrid::testing_support {
namespace {

// "number text" per item, "---" for a separator, "> title" for a submenu followed by its items
// indented; pop-up texts are compared exactly, with the tab before the shortcut.
QStringList Describe(const QMenu* menu, const QString& indent = QString()) {
  QStringList lines;
  for (QAction* a : menu->actions()) {
    if (a->isSeparator()) {
      lines << indent + "---";
    } else if (a->menu()) {
      lines << indent + "> " + a->text();
      lines << Describe(a->menu(), indent + "  ");
    } else {
      lines << indent + QString::number(a->data().toInt()) + " " + a->text();
    }
  }
  return lines;
}

QStringList RecentItems(const QString& indent) {
  QStringList lines;
  for (int i = 1; i <= 10; ++i) lines << indent + QString("%1 %2)  ").arg(29 + i).arg(i);
  return lines;
}

using MainWindowLayout = MainWindowTest;

TEST_F(MainWindowLayout, StartsWithTitleClientAreaAndFixedSize) {
  EXPECT_EQ(Window().windowTitle(), QString("Lumigrid v 3.8  —  "));
  EXPECT_EQ(Window().Client()->size(), QSize(794, 518));
  EXPECT_EQ(Window().minimumSize(), Window().maximumSize()) << "the window is not resizable";
  EXPECT_TRUE(Window().windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(Window().windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(Window().pos(), QPoint(20, 20));
}

TEST_F(MainWindowLayout, GadgetsSitAtTheirPlaces) {
  EXPECT_EQ(Window().Tabs()->geometry(), QRect(8, 30, 540, 28));
  EXPECT_EQ(Window().CanvasFrame()->geometry(), QRect(8, 58, 540, 272));
  EXPECT_EQ(Window().Canvas()->geometry(), QRect(2, 2, 530, 264));
  for (int b = 1; b <= 10; ++b) {
    EXPECT_EQ(Window().Listing(b)->geometry(), QRect(4, 340, 548, 150));
    EXPECT_EQ(Window().Listing(b)->isVisible(), b == 1);
  }
  EXPECT_EQ(Window().CellSidePanel()->geometry(), QRect(554, 32, 234, 240));
  EXPECT_EQ(Window().Panel(static_cast<int>(SidePanel::kConversion))->geometry(),
            QRect(554, 340, 234, 150));
  QLabel* hint = Window().Menus().HintLabel();
  EXPECT_EQ(hint->size(), QSize(240, 15));
  EXPECT_EQ(hint->y(), 4);
  QToolBar* toolbar = Window().Menus().ToolBar();
  QWidget* help = toolbar->widgetForAction(Window().Menus().ToolAction(command::kAbout));
  EXPECT_EQ(hint->x(), help->geometry().right() + 1 + 8);
}

TEST_F(MainWindowLayout, TabsNameTheTenBuffers) {
  ASSERT_EQ(Window().Tabs()->count(), 10);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(Window().Tabs()->tabText(i), QString("Буфер %1").arg(i + 1));
    EXPECT_GE(Window().Tabs()->tabRect(i).width(),
              Window().Tabs()->fontMetrics().horizontalAdvance(Window().Tabs()->tabText(i)))
        << "tab " << i + 1 << " shows its whole text";
  }
  EXPECT_LE(Window().Tabs()->tabRect(9).right(), 539);
  EXPECT_EQ(Window().Tabs()->currentIndex(), 0);
}

TEST_F(MainWindowLayout, ListingViewsUseAFixedPitchFontOnPaleGreen) {
  ListingView* view = Window().Listing(1);
  EXPECT_TRUE(QFontInfo(view->font()).fixedPitch());
  EXPECT_EQ(view->font().pointSize(), 10);
  EXPECT_EQ(view->palette().color(QPalette::Base), QColor(206, 255, 214));
  EXPECT_FALSE(view->isReadOnly());
}

using Menus = MainWindowTest;

TEST_F(Menus, MenuBarHoldsTheFileModeAndHelpMenus) {
  // "Рисунок" between "Режим" and "Справка" holds what goes beyond these menus.
  const QList<QAction*> tops = Window().menuBar()->actions();
  ASSERT_EQ(tops.size(), 4);
  EXPECT_EQ(tops[0]->text(), "Файл");
  EXPECT_EQ(tops[1]->text(), "Режим");
  EXPECT_EQ(tops[3]->text(), "Справка");

  QStringList file{"4 Новый\tCtrl+N",
                   "1 Открыть\tCtrl+O",
                   "2 Сохранить\tCtrl+S",
                   "3 Сохранить как...\tCtrl+Shift+S",
                   "---",
                   "> Недавние файлы"};
  file << RecentItems("  ") << "---"
       << "5 Закрыть";
  EXPECT_EQ(Describe(tops[0]->menu()), file);

  const QStringList mode{"16 Редактирование\tCtrl+1",
                         "17 Анимация\tCtrl+2",
                         "18 Лог. операции\tCtrl+3",
                         "19 Оптимизация кода\tCtrl+4",
                         "20 Преобразование в BIN\tCtrl+5",
                         "---",
                         "> Стиль меню",
                         "  90 Стандартный",
                         "  91 Офис 2000",
                         "  92 Офис XP",
                         "  93 Офис 2003",
                         "  94 Фиолетовый",
                         "  95 Чёрный"};
  EXPECT_EQ(Describe(tops[1]->menu()), mode);
  EXPECT_EQ(Describe(tops[3]->menu()), QStringList{"8 О программе"});
}

TEST_F(Menus, PopupMenusHoldTheirItems) {
  MainMenus& m = Window().Menus();
  EXPECT_EQ(Describe(m.Popup(1)), (QStringList{"40 Вырезать\tCtrl+X", "41 Копировать\tCtrl+C",
                                               "42 Вставить\tCtrl+V", "---", "43 Очистить"}));
  EXPECT_EQ(Describe(m.Popup(2)), (QStringList{"50 Выделить всё\tCtrl+A", "51 Копировать\tCtrl+C",
                                               "---", "52 Сохранить в файле\tAlt+S"}));
  EXPECT_EQ(Describe(m.Popup(3)), (QStringList{"70 Выделить всё\tCtrl+A", "71 Копировать\tCtrl+C",
                                               "---", "72 Сохранить в файле\tAlt+S"}));
  EXPECT_EQ(Describe(m.Popup(4)), RecentItems(""));
  ASSERT_NE(m.OpenButton(), nullptr);
  EXPECT_EQ(m.ToolAction(command::kOpen)->menu<QMenu*>(), m.Popup(4));
  EXPECT_EQ(m.OpenButton()->popupMode(), QToolButton::MenuButtonPopup);
}

TEST_F(Menus, ToolbarButtonsCarryTheirCommandsAndTooltips) {
  MainMenus& m = Window().Menus();
  const QList<QAction*> actions = m.ToolBar()->actions();
  QStringList seen;
  for (QAction* a : actions) {
    seen << (a->isSeparator() ? QString("---")
                              : QString::number(a->data().toInt()) + " " + a->toolTip());
  }
  EXPECT_EQ(seen,
            (QStringList{"---", "4 Создать новый файл с очисткой текущего поля", "1 Открыть файл",
                         "2 Сохранить файл", "---", "28 Редактирование", "---", "8 "}));
  for (QAction* a : actions) {
    if (!a->isSeparator()) {
      EXPECT_FALSE(a->icon().isNull()) << a->data().toInt();
    }
  }
}

TEST_F(Menus, EveryItemRaisesItsCommandNumber) {
  QList<int> raised;
  for (int n = 1; n <= 99; ++n) Window().Commands().Register(n, [&raised, n] { raised << n; });
  for (QAction* a : Window().Menus().MenuActions(command::kSaveAs)) a->trigger();
  for (QAction* a : Window().Menus().MenuActions(35)) a->trigger();
  Window().Menus().ToolAction(command::kModeCycle)->trigger();
  EXPECT_EQ(raised, (QList<int>{3, 35, 35, 28})) << "recent item 6 is in both menus";
}

TEST_F(Menus, ShortcutsRaiseTheirNumbersEvenInsideATextView) {
  QList<int> raised;
  for (int n = 1; n <= 99; ++n) Window().Commands().Register(n, [&raised, n] { raised << n; });
  QPlainTextEdit* view = Window().Listing(1);
  view->setPlainText("text");
  view->setFocus();
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int command;
  };
  const Case cases[] = {
      {Qt::Key_N, Qt::ControlModifier, 4},  {Qt::Key_O, Qt::ControlModifier, 1},
      {Qt::Key_S, Qt::ControlModifier, 2},  {Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, 3},
      {Qt::Key_1, Qt::ControlModifier, 16}, {Qt::Key_2, Qt::ControlModifier, 17},
      {Qt::Key_3, Qt::ControlModifier, 18}, {Qt::Key_4, Qt::ControlModifier, 19},
      {Qt::Key_5, Qt::ControlModifier, 20}, {Qt::Key_X, Qt::ControlModifier, 85},
      {Qt::Key_C, Qt::ControlModifier, 86}, {Qt::Key_V, Qt::ControlModifier, 87},
      {Qt::Key_A, Qt::ControlModifier, 88}, {Qt::Key_S, Qt::AltModifier, 89},
  };
  for (const Case& c : cases) {
    raised.clear();
    QTest::keyClick(view, c.key, c.modifiers);
    EXPECT_EQ(raised, QList<int>{c.command}) << "key " << c.key << " modifiers " << c.modifiers;
  }
  EXPECT_EQ(view->toPlainText(), "text") << "Ctrl+X never reaches the text view";
  view->moveCursor(QTextCursor::End);
  QTest::keyClick(view, Qt::Key_Z);
  EXPECT_EQ(view->toPlainText(), "textz") << "ordinary typing still reaches it";
}

// The keys arrive as the Russian layout names them; the shortcuts follow the physical key.
TEST_F(Menus, ShortcutsWorkUnderTheRussianLayout) {
  QList<int> raised;
  for (int n = 1; n <= 99; ++n) Window().Commands().Register(n, [&raised, n] { raised << n; });
  QPlainTextEdit* view = Window().Listing(1);
  view->setPlainText("text");
  view->setFocus();
  view->moveCursor(QTextCursor::End);
  struct Case {
    const char* text;
    Qt::KeyboardModifiers modifiers;
    std::vector<int> commands;
  };
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
  const Case cases[] = {
      {"т", ctrl, {4}},
      {"щ", ctrl, {1}},
      {"ы", ctrl, {2}},
      {"Ы", ctrl | Qt::ShiftModifier, {3}},
      {"ч", ctrl, {85}},
      {"с", ctrl, {86}},
      {"м", ctrl, {87}},
      {"ф", ctrl, {88}},
      {"ы", Qt::AltModifier, {89}},
      {"ж", ctrl, {}},
      {"ы", Qt::NoModifier, {}},
  };
  for (const Case& c : cases) {
    raised.clear();
    // Qt names a Cyrillic key by its upper-case letter.
    const QString text = QString::fromUtf8(c.text);
    const auto key = static_cast<Qt::Key>(text.toUpper().at(0).unicode());
    QTest::sendKeyEvent(QTest::Click, view, key, text, c.modifiers);
    EXPECT_EQ(std::vector<int>(raised.begin(), raised.end()), c.commands)
        << c.text << " modifiers " << c.modifiers;
  }
  EXPECT_EQ(view->toPlainText(), "textы") << "plain Russian typing still reaches the view";
}

TEST_F(Menus, UnregisteredCommandIsANoOp) {
  EXPECT_FALSE(Window().Dispatch(99));
  EXPECT_FALSE(Window().Dispatch(0));
  EXPECT_TRUE(Window().Dispatch(command::kModeEditing));
}

using MenuStyles = MainWindowTest;

int CheckedStyle(MainWindow& w) {
  int checked = -1;
  for (int n = 90; n <= 95; ++n) {
    for (QAction* a : w.Menus().MenuActions(n)) {
      if (a->isChecked()) {
        EXPECT_EQ(checked, -1) << "only one style is checked";
        checked = n - 90;
      }
    }
  }
  return checked;
}

bool HasItemPictures(MainWindow& w) {
  bool any = false;
  for (int n : {1, 2, 4, 40, 41, 42, 51, 52, 71, 72}) {
    for (QAction* a : w.Menus().MenuActions(n)) any = any || !a->icon().isNull();
  }
  return any;
}

TEST_F(MenuStyles, StartsInOfficeXpWithPictures) {
  EXPECT_EQ(CheckedStyle(Window()), 2);
  EXPECT_TRUE(HasItemPictures(Window()));
  EXPECT_NE(Window().Menus().Themer().Current(), nullptr);
  EXPECT_EQ(Window().Menus().TopMenu(0)->style(), Window().Menus().Themer().Current());
}

TEST_F(MenuStyles, StandardDropsThemeAndPicturesAndThemesBringThemBack) {
  Window().Dispatch(95);  // Чёрный
  EXPECT_EQ(CheckedStyle(Window()), 5);
  Window().Dispatch(90);
  EXPECT_EQ(CheckedStyle(Window()), 0);
  EXPECT_FALSE(HasItemPictures(Window()));
  EXPECT_EQ(Window().Menus().Themer().Current(), nullptr);
  EXPECT_EQ(Window().Menus().Popup(1)->style(), QApplication::style());
  for (int style = 1; style <= 5; ++style) {
    Window().Dispatch(90 + style);
    EXPECT_EQ(CheckedStyle(Window()), style);
    EXPECT_TRUE(HasItemPictures(Window())) << "style " << style;
    ASSERT_NE(Window().Menus().Themer().Current(), nullptr);
    for (int p = 1; p <= 4; ++p) {
      EXPECT_EQ(Window().Menus().Popup(p)->style(), Window().Menus().Themer().Current());
    }
  }
}

TEST_F(MenuStyles, ThemesDifferAndCarryTheProgramsTwoColours) {
  QList<QRgb> backgrounds;
  for (int style = 1; style <= 5; ++style) {
    const ui::MenuColours c = ui::MenuStyleColours(style);
    EXPECT_EQ(c.highlight_border, QColor(100, 10, 110)) << style;
    if (style >= 2) {
      EXPECT_EQ(c.check, QColor(194, 2, 19)) << style;
    }
    backgrounds << (c.background.rgb() ^ c.highlight.rgb());
  }
  for (int i = 0; i < backgrounds.size(); ++i)
    for (int j = i + 1; j < backgrounds.size(); ++j) EXPECT_NE(backgrounds[i], backgrounds[j]);
}

TEST_F(MenuStyles, ThemedMenuDrawsDifferentlyFromStandard) {
  QMenu* menu = Window().Menus().TopMenu(0);
  auto shot = [&] {
    menu->popup(Window().mapToGlobal(QPoint(10, 10)));
    QApplication::processEvents();
    QImage image = menu->grab().toImage();
    menu->hide();
    return image;
  };
  Window().Dispatch(90);
  const QImage standard = shot();
  Window().Dispatch(95);
  const QImage black = shot();
  // The black theme paints its item background dark.
  EXPECT_LT(QColor(black.pixel(black.width() / 2, black.height() - 4)).lightness(), 80);
  EXPECT_GT(QColor(standard.pixel(standard.width() / 2, standard.height() - 4)).lightness(), 150);
}

class StandardStyleStart : public MainWindowTest {
 protected:
  void SetUp() override {
    settings_.style_menu = 0;
    MainWindowTest::SetUp();
  }
};

TEST_F(StandardStyleStart, ChecksStandardAndShowsNoPictures) {
  EXPECT_EQ(CheckedStyle(Window()), 0);
  EXPECT_FALSE(HasItemPictures(Window()));
}

// What the style is asked to draw for one menu item: check mark or bullet, checked or not.
// Recorded while the menu paints itself, through a proxy of the application's style.
class MenuItemLook : public QProxyStyle {
 public:
  static QStyleOptionMenuItem Of(QAction* action) {
    MenuItemLook recorder;
    for (QObject* owner : action->associatedObjects()) {
      auto* menu = qobject_cast<QMenu*>(owner);
      if (menu == nullptr) continue;
      const bool own_style = menu->testAttribute(Qt::WA_SetStyle);
      QStyle* before = menu->style();
      menu->setStyle(&recorder);
      menu->grab();
      menu->setStyle(own_style ? before : nullptr);
    }
    for (const QStyleOptionMenuItem& item : recorder.drawn_) {
      if (item.text.section('\t', 0, 0) == action->text().section('\t', 0, 0)) return item;
    }
    ADD_FAILURE() << "not drawn: " << action->text().toStdString();
    return {};
  }

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        item != nullptr && element == CE_MenuItem) {
      drawn_.push_back(*item);
    }
    QProxyStyle::drawControl(element, option, painter, widget);
  }

 private:
  mutable std::vector<QStyleOptionMenuItem> drawn_;
};

TEST_F(StandardStyleStart, ChosenModeAndStyleCarryACheckMarkThatStays) {
  struct Case {
    int chosen;
    int first, last;
  };
  const Case cases[] = {{command::kModeEditing, 16, 20},
                        {command::kModeAnimation, 16, 20},
                        {command::kStyleStandard, 90, 95}};
  for (const Case& c : cases) {
    // Twice: choosing the checked item again must not take its mark away.
    for (int i = 0; i < 2; ++i) Window().Menus().MenuActions(c.chosen).value(0)->trigger();
    for (int n = c.first; n <= c.last; ++n) {
      QAction* action = Window().Menus().MenuActions(n).value(0);
      const QStyleOptionMenuItem look = MenuItemLook::Of(action);
      EXPECT_EQ(look.checkType, QStyleOptionMenuItem::NonExclusive) << n << " shows a bullet";
      EXPECT_EQ(look.checked, n == c.chosen) << c.chosen << " chosen, item " << n;
    }
  }
}

using Commands = MainWindowTest;

TEST_F(Commands, NewClearsTheCurrentBufferOnly) {
  State().Buffer(1).SetByte(5, 3, 0xAA);
  State().Buffer(2).SetByte(5, 3, 0xBB);
  State().SetBufferFileName(1, "/pics/logo.chr");
  State().MarkModified(1);
  Window().UpdateTitle();
  Window().Listing(1)->setPlainText("old listing");
  DoubleClickCell(5);
  ASSERT_EQ(State().SelectedCell(), 5);

  Platform().QueueAnswer(ui::Answer::kNo);  // the changes are given up
  Window().Dispatch(command::kNew);
  EXPECT_EQ(State().Buffer(1, 5, 3), 0);
  EXPECT_EQ(State().Buffer(2, 5, 3), 0xBB);
  EXPECT_TRUE(State().BufferFileName(1).empty());
  EXPECT_FALSE(State().BufferModified(1));
  EXPECT_EQ(State().SelectedCell(), kNoCell);
  EXPECT_EQ(Window().windowTitle(), QString("Lumigrid v 3.8  —  "));
  EXPECT_EQ(Window().Listing(1)->toPlainText(), "old listing");
  const QImage canvas = CanvasShot();
  EXPECT_EQ(At(canvas, CellCentre(5).x(), CellCentre(5).y()), Colour(colour::kCellNormal));
}

TEST_F(Commands, CloseEndsTheWindow) {
  Window().Dispatch(command::kClose);
  EXPECT_FALSE(Window().isVisible());
}

TEST_F(Commands, AboutOpensOnceCentredOnTheMainWindow) {
  Window().Dispatch(command::kAbout);
  AboutWindow* about = Window().About();
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->windowTitle(), "О программе");
  EXPECT_EQ(about->size(), QSize(234, 264));
  EXPECT_EQ(about->parentWidget(), &Window());
  EXPECT_LE((about->geometry().center() - Window().geometry().center()).manhattanLength(), 4);
  Window().Menus().ToolAction(command::kAbout)->trigger();
  EXPECT_EQ(Window().About(), about);
  EXPECT_EQ(Window().findChildren<AboutWindow*>().size(), 1);
}

TEST_F(Commands, AboutTextsAndLinks) {
  Window().Dispatch(command::kAbout);
  AboutWindow* about = Window().About();
  ASSERT_NE(about, nullptr);
  QStringList texts;
  for (QLabel* label : about->findChildren<QLabel*>()) texts << label->text();
  EXPECT_TRUE(
      texts.contains("Lumigrid v 3.8  —   графический редактор для индикаторов на основе "
                     "контроллеров KS0107 или KS0108"));
  EXPECT_TRUE(texts.contains("Более подробно о работе программы можно прочитать на страничке"));
  EXPECT_EQ(about->Picture()->size(), QSize(100, 100));
  QTest::mouseClick(about->Picture(), Qt::LeftButton);
  ASSERT_EQ(Platform().Links().size(), 1);
  // From the build tree: the README of the sources, which exists.
  const QUrl readme = Platform().Links()[0];
  EXPECT_TRUE(readme.isLocalFile()) << readme.toString().toStdString();
  EXPECT_TRUE(QFileInfo(readme.toLocalFile()).isFile()) << readme.toString().toStdString();
  EXPECT_EQ(QFileInfo(readme.toLocalFile()).fileName(), "README.md");
}

// The links were placeholders that led nowhere: each now opens an existing document, and
// without documents there is nothing to click.
TEST_F(Commands, AboutLinksLeadToDocumentsThatExist) {
  const AboutLinks found = AboutLinks::Find();
  ASSERT_FALSE(found.readme.isEmpty());
  for (const AboutLinks& links : {found, AboutLinks{}}) {
    Platform().ClearRecords();
    AboutWindow about(Platform(), &Window(), links);
    for (QLabel* label : about.findChildren<QLabel*>()) {
      if (!label->text().contains("<a ")) continue;
      const QString href = label->text().section('"', 1, 1);
      emit label->linkActivated(href);
    }
    QTest::mouseClick(about.Picture(), Qt::LeftButton);
    if (links.readme.isEmpty()) {
      EXPECT_TRUE(Platform().Links().isEmpty());
      EXPECT_TRUE(about.Picture()->toolTip().isEmpty());
      continue;
    }
    ASSERT_EQ(Platform().Links().size(), 3) << "the two labels and the picture";
    for (const QUrl& url : Platform().Links()) {
      EXPECT_TRUE(url.isLocalFile() && QFileInfo::exists(url.toLocalFile()))
          << url.toString().toStdString();
    }
    EXPECT_EQ(Platform().Links()[2], links.readme);
  }
}

TEST_F(Commands, AboutFadesOutHoweverItIsClosed) {
  struct Case {
    const char* way;
    std::function<void(AboutWindow*)> close;
  };
  const Case cases[] = {
      {"close box", [](AboutWindow* w) { w->close(); }},
      {"Escape", [](AboutWindow* w) { QTest::keyClick(w, Qt::Key_Escape); }},
      {"Ok",
       [](AboutWindow* w) { QTest::mouseClick(w->findChild<QPushButton*>(), Qt::LeftButton); }},
  };
  for (const Case& c : cases) {
    Window().Dispatch(command::kAbout);
    QPointer<AboutWindow> about = Window().About();
    ASSERT_FALSE(about.isNull()) << c.way;
    auto* fade = about->findChild<QPropertyAnimation*>();
    fade->setCurrentTime(fade->duration());
    c.close(about);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(about.isNull()) << c.way;
    EXPECT_TRUE(about->isVisible()) << c.way;
    EXPECT_EQ(fade->duration(), 1000) << c.way;
    fade->setCurrentTime(1000);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull()) << c.way << " closes once faded";
  }
}

TEST_F(Commands, AboutChosenWhileFadingOutComesBackAndStays) {
  Window().Dispatch(command::kAbout);
  QPointer<AboutWindow> about = Window().About();
  auto* fade = about->findChild<QPropertyAnimation*>();
  fade->setCurrentTime(500);
  about->FadeOut();
  fade->setCurrentTime(400);
  const double faded = about->windowOpacity();
  ASSERT_LT(faded, 1.0);

  Window().Dispatch(command::kAbout);
  EXPECT_EQ(Window().About(), about);
  EXPECT_DOUBLE_EQ(about->windowOpacity(), faded) << "fades back from where it was";
  fade->setCurrentTime(fade->duration());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(about.isNull()) << "the end of the fade no longer closes it";
  EXPECT_TRUE(about->isVisible());
  EXPECT_DOUBLE_EQ(about->windowOpacity(), 1.0);

  QTest::keyClick(about, Qt::Key_Escape);  // and it can still be closed
  fade->setCurrentTime(fade->duration());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(about.isNull());
}

TEST_F(Commands, AboutFadesOutAndCanOpenAgain) {
  Window().Dispatch(command::kAbout);
  QPointer<AboutWindow> about = Window().About();
  auto* fade = about->findChild<QPropertyAnimation*>();
  ASSERT_NE(fade, nullptr);
  EXPECT_EQ(fade->duration(), 500) << "fading in";
  fade->setCurrentTime(500);
  EXPECT_DOUBLE_EQ(about->windowOpacity(), 1.0);

  QTest::mouseClick(about->findChild<QPushButton*>(), Qt::LeftButton);  // "Ok"
  EXPECT_EQ(fade->duration(), 1000) << "fading out";
  EXPECT_FALSE(about.isNull()) << "still there while it fades";
  fade->setCurrentTime(1000);  // the end of the fade closes it
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(about.isNull());
  Window().Dispatch(command::kAbout);
  EXPECT_NE(Window().About(), nullptr);
}

TEST(StartupWindow, IsASmallBorderlessTopmostToolWindow) {
  StartupWindow w;
  EXPECT_EQ(w.size(), QSize(440, 40));
  EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ((w.windowFlags() & Qt::WindowType_Mask), Qt::Tool);
  EXPECT_EQ(w.palette().color(QPalette::Window), QColor(217, 175, 212));
  const QList<QLabel*> labels = w.findChildren<QLabel*>();
  ASSERT_EQ(labels.size(), 2);
  EXPECT_EQ(labels[0]->text(), "Инициализация программы");
  EXPECT_EQ(labels[0]->geometry(), QRect(10, 10, 240, 24));
  EXPECT_EQ(labels[1]->text(), "Lumigrid v 3.8  —  ");
  EXPECT_EQ(labels[1]->geometry(), QRect(250, 10, 180, 24));
  EXPECT_EQ(labels[1]->palette().color(QPalette::WindowText), QColor(154, 0, 0));
  EXPECT_TRUE(labels[1]->font().bold());
  EXPECT_EQ(labels[1]->font().pointSize(), 12);
}

}  // namespace
}  // namespace lumigrid::testing_support

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "ui/platform.h"
#include "ui/qt_platform.h"

namespace lumigrid::ui {
namespace {

TEST(QtNameFilters, EachPatternListShownOnce) {
  EXPECT_EQ(QtNameFilters(QString::fromUtf8(
                "Font Files (*.chr)|*.chr|Рисунки в форматах BMP, JPG, PNG|*.bmp;*.jpg;*.png|"
                "Все файлы|*.*")),
            (QStringList{QStringLiteral("Font Files (*.chr)"),
                         QString::fromUtf8("Рисунки в форматах BMP, JPG, PNG (*.bmp *.jpg *.png)"),
                         QString::fromUtf8("Все файлы (*.*)")}));
  EXPECT_EQ(QtNameFilters(QString::fromUtf8("Бинарные файлы (*.BIN)|*.BIN|All Files|*.*")),
            (QStringList{QString::fromUtf8("Бинарные файлы (*.BIN)"),
                         QStringLiteral("All Files (*.*)")}));
  // A pattern list in the description that differs from the real one is not trusted.
  EXPECT_EQ(QtNameFilters(QStringLiteral("Pictures (*.chr)|*.chr;*.bin")),
            QStringList{QStringLiteral("Pictures (*.chr) (*.chr *.bin)")});
}

// Once the program's modal dialog of type T is up, hands it to `look`, then closes it.
template <typename T>
void WhenShown(std::function<void(T&)> look) {
  QTimer::singleShot(0, [look] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<T*>(w);
      if (dialog == nullptr || !dialog->isVisible()) continue;
      look(*dialog);
      if (dialog->isVisible()) dialog->reject();
    }
  });
}

QStringList ButtonTexts(const QList<QAbstractButton*>& buttons) {
  QStringList texts;
  for (const QAbstractButton* b : buttons) texts << QString(b->text()).remove('&');
  texts.sort();
  return texts;
}

// Qt's standard buttons and dialogs spoke English in a Russian program.
TEST(QtPlatformRussian, QuestionsAndFileDialogsSpeakRussian) {
  QtPlatform platform;
  QStringList buttons;
  WhenShown<QMessageBox>([&](QMessageBox& box) {
    buttons = ButtonTexts(box.buttons());
    box.button(QMessageBox::No)->click();
  });
  const Answer answer = platform.ShowMessage(
      nullptr, {QStringLiteral("Сохранение файла"), QStringLiteral("?"), MessageIcon::kQuestion,
                MessageButtons::kYesNoCancel, Answer::kYes});
  EXPECT_EQ(answer, Answer::kNo);
  EXPECT_EQ(buttons, (QStringList{"Да", "Нет", "Отмена"}));

  WhenShown<QMessageBox>([&](QMessageBox& box) { buttons = ButtonTexts(box.buttons()); });
  platform.ShowMessage(nullptr, {QStringLiteral("Ошибка"), QStringLiteral("!")});
  EXPECT_EQ(buttons, QStringList{"OK"}) << "Qt's Russian OK is OK";

  for (const bool save : {true, false}) {
    QStringList labels;
    WhenShown<QFileDialog>([&](QFileDialog& dialog) {
      buttons = ButtonTexts(dialog.findChild<QDialogButtonBox*>()->buttons());
      for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) labels << QString(label->text()).remove('&');
      }
      labels.sort();
    });
    const FileDialogRequest request{QStringLiteral("Сохранить файл..."),
                                    QStringLiteral("Font Files (*.chr)|*.chr"), 0, QString()};
    const FileChoice choice =
        save ? platform.AskSaveFile(nullptr, request) : platform.AskOpenFile(nullptr, request);
    EXPECT_TRUE(choice.Cancelled());
    QStringList expected{save ? "Сохранить" : "Открыть", "Отмена"};
    expected.sort();
    EXPECT_EQ(buttons, expected) << save;
    EXPECT_EQ(labels, (QStringList{"Имя файла:", "Перейти к:", "Типы файлов:"})) << save;
  }
}

}  // namespace
}  // namespace lumigrid::ui

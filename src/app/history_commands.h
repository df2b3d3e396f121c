// "Отменить" and "Повторить" of the menu "Рисунок": one step of the current buffer's history,
// with the item texts naming the step they would take.
#pragma once

#include <QObject>

class QAction;
class QWidget;

namespace lumigrid {

class CommandTable;
class MainWindow;

class HistoryCommands : public QObject {
  Q_OBJECT

 public:
  explicit HistoryCommands(MainWindow& window);

  void Register(CommandTable& commands);

  // Texts and enabled states of both items for the current buffer, "Отменить: линия".
  void UpdateMenu();

  // Whether a history key goes to the picture: always with the pointer over the canvas or the
  // enlarged view, elsewhere unless a text field holding the focus wants it for itself.
  bool KeysGoToPicture(const QWidget* focus) const;

 private:
  void Step(bool undo);

  MainWindow& window_;
};

}  // namespace lumigrid

// "Бюджет обновлений": what each change of picture of a sequence costs on the display bus by
// every method of the budget, per transition and in total, at a bus cycle the user may change;
// the cheapest method of each transition is highlighted, and a chart shows the operations.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "frames/budget_methods.h"

class QLabel;
class QSpinBox;
class QTableWidget;

namespace lumigrid {

// Bars of the operations of every method, grouped by transition.
class BudgetChart : public QWidget {
  Q_OBJECT

 public:
  explicit BudgetChart(QWidget* parent = nullptr);

  // operations[t][m]: transition t, method m.
  void SetValues(std::vector<std::vector<int64_t>> operations, QStringList transitions);
  const std::vector<std::vector<int64_t>>& Values() const { return values_; }
  // Each method's colour, also its colour in the table's legend.
  static QColor MethodColour(int method);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<std::vector<int64_t>> values_;
  QStringList transitions_;
};

class FrameBudgetDialog : public QDialog {
  Q_OBJECT

 public:
  // `buffers` names each picture for the table (the buffer it comes from).
  FrameBudgetDialog(std::vector<PictureBytes> pictures, std::vector<int> buffers,
                    const PictureBytes& skip_map, int min_run, int cycle_ns,
                    QWidget* parent = nullptr);

  const FrameBudget& Budget() const { return budget_; }
  int CycleNs() const;

  QSpinBox* CycleField() const { return cycle_; }
  QTableWidget* Table() const { return table_; }
  BudgetChart* Chart() const { return chart_; }
  // Rows of the table that belong to transition t (t = transitions: the total).
  int FirstRowOf(int transition) const;

 private:
  void Recompute();
  QString TransitionName(const TransitionBudget& t) const;

  std::vector<PictureBytes> pictures_;
  std::vector<int> buffers_;
  PictureBytes skip_map_;
  FrameBudget budget_;
  QSpinBox* cycle_ = nullptr;
  QTableWidget* table_ = nullptr;
  BudgetChart* chart_ = nullptr;
  QLabel* note_ = nullptr;
};

}  // namespace lumigrid

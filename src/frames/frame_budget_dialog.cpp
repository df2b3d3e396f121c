#include "frames/frame_budget_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace lumigrid {

namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }
QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

constexpr int kChartHeight = 170;
const QColor kCheapest(255, 236, 140);

enum Column {
  kTransition,
  kChanged,
  kMethod,
  kData,
  kOperations,
  kTableBytes,
  kTime,
  kStartLine,
  kColumns
};

}  // namespace

BudgetChart::BudgetChart(QWidget* parent) : QWidget(parent) { setMinimumSize(560, kChartHeight); }

QColor BudgetChart::MethodColour(int method) {
  static const QColor kColours[] = {QColor(120, 120, 120), QColor(70, 36, 185), QColor(0, 140, 60),
                                    QColor(200, 90, 0)};
  return kColours[static_cast<std::size_t>(method) % std::size(kColours)];
}

void BudgetChart::SetValues(std::vector<std::vector<int64_t>> operations, QStringList transitions) {
  values_ = std::move(operations);
  transitions_ = std::move(transitions);
  update();
}

void BudgetChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  int64_t top = 1;
  for (const auto& group : values_) {
    for (int64_t v : group) top = std::max(top, v);
  }
  const int legend = 18;
  const int label = 16;
  const int left = 8;
  const int base = height() - label;
  const int usable = base - legend - 4;
  const int groups = static_cast<int>(values_.size());
  if (groups == 0) return;
  const int slot = std::max(1, (width() - 2 * left) / groups);

  // Legend: one swatch and name per method.
  int x = left;
  const auto& methods = BudgetMethods();
  for (int m = 0; m < static_cast<int>(methods.size()); ++m) {
    painter.fillRect(x, 4, 10, 10, MethodColour(m));
    const QString name = Text(methods[static_cast<std::size_t>(m)].name);
    painter.setPen(Qt::black);
    painter.drawText(x + 14, 13, name);
    x += 14 + painter.fontMetrics().horizontalAdvance(name) + 16;
  }
  painter.drawText(width() - 160, 13, Text("операций на переход"));

  for (int t = 0; t < groups; ++t) {
    const auto& group = values_[static_cast<std::size_t>(t)];
    const int bars = static_cast<int>(group.size());
    const int bar = std::max(1, (slot - 6) / std::max(bars, 1));
    const int x0 = left + t * slot + 3;
    for (int m = 0; m < bars; ++m) {
      const int h = static_cast<int>(group[static_cast<std::size_t>(m)] * usable / top);
      painter.fillRect(x0 + m * bar, base - h, std::max(bar - 1, 1), h, MethodColour(m));
    }
    if (t < transitions_.size()) {
      painter.setPen(Qt::black);
      painter.drawText(QRect(left + t * slot, base, slot, label), Qt::AlignCenter, transitions_[t]);
    }
  }
  painter.setPen(Qt::gray);
  painter.drawLine(left, base, width() - left, base);
}

FrameBudgetDialog::FrameBudgetDialog(std::vector<PictureBytes> pictures, std::vector<int> buffers,
                                     const PictureBytes& skip_map, int min_run, int cycle_ns,
                                     QWidget* parent)
    : QDialog(parent),
      pictures_(std::move(pictures)),
      buffers_(std::move(buffers)),
      skip_map_(skip_map) {
  setWindowTitle(Text("Бюджет обновлений"));
  auto* cycle_label = new QLabel(Text("Цикл шины, нс:"), this);
  cycle_ = new QSpinBox(this);
  cycle_->setRange(1, static_cast<int>(kMaxBusCycleNs));
  cycle_->setValue(std::clamp<int>(cycle_ns, 1, static_cast<int>(kMaxBusCycleNs)));
  note_ = new QLabel(this);
  note_->setText(Text("Последовательность панели анимации от пустого экрана, по кругу; карта "
                      "обходов — по её рисункам, не короче %1 байт.")
                     .arg(min_run));
  note_->setWordWrap(true);

  table_ = new QTableWidget(this);
  table_->setColumnCount(kColumns);
  table_->setHorizontalHeaderLabels({Text("Переход"), Text("Изменено"), Text("Способ"),
                                     Text("Данные"), Text("Операции"), Text("Таблица, байт"),
                                     Text("Время, мкс"), Text("Строка")});
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->setMinimumSize(640, 260);

  chart_ = new BudgetChart(this);
  auto* close = new QPushButton(Text("Закрыть"), this);
  connect(close, &QPushButton::clicked, this, &QDialog::close);

  auto* top = new QHBoxLayout;
  top->addWidget(cycle_label);
  top->addWidget(cycle_);
  top->addStretch(1);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(note_);
  layout->addWidget(table_, 1);
  layout->addWidget(chart_);
  layout->addLayout(bottom);

  connect(cycle_, &QSpinBox::valueChanged, this, &FrameBudgetDialog::Recompute);
  Recompute();
}

int FrameBudgetDialog::CycleNs() const { return cycle_->value(); }

int FrameBudgetDialog::FirstRowOf(int transition) const {
  return transition * static_cast<int>(BudgetMethods().size());
}

QString FrameBudgetDialog::TransitionName(const TransitionBudget& t) const {
  const auto name = [this](int picture) {
    if (picture <= 0) return Text("пусто");
    const auto index = static_cast<std::size_t>(picture - 1);
    return index < buffers_.size() ? QString::number(buffers_[index]) : QString::number(picture);
  };
  return name(t.from) + Text(" → ") + name(t.to);
}

void FrameBudgetDialog::Recompute() {
  SequenceOptions options;
  options.loop = true;
  budget_ = ComputeFrameBudget(pictures_, skip_map_, options, CycleNs()).value_or(FrameBudget{});

  const auto& methods = BudgetMethods();
  const int per = static_cast<int>(methods.size());
  const int transitions = static_cast<int>(budget_.transitions.size());
  table_->setRowCount((transitions + 1) * per);
  std::vector<std::vector<int64_t>> operations;
  QStringList names;
  // The total's start line means nothing: only transitions show theirs.
  const auto fill = [&](int first_row, const TransitionBudget& t, const QString& name, bool total) {
    const std::vector<int> cheapest = CheapestMethods(t);
    for (int m = 0; m < per; ++m) {
      const MethodBudget& cost = t.*methods[static_cast<std::size_t>(m)].cost;
      const bool valid = BudgetMethodValid(t, m);
      const QString cells[kColumns] = {m == 0 ? name : QString(),
                                       m == 0 ? QString::number(t.changed_bytes) : QString(),
                                       Text(methods[static_cast<std::size_t>(m)].name) +
                                           (valid ? QString() : Text(" (неверно)")),
                                       QString::number(cost.data_writes),
                                       QString::number(cost.operations),
                                       QString::number(cost.table_bytes),
                                       Text(MicrosecondsText(cost.bus_time_ns)),
                                       methods[static_cast<std::size_t>(m)].start_line && !total
                                           ? QString::number(t.start_line)
                                           : QString()};
      const bool best = std::find(cheapest.begin(), cheapest.end(), m) != cheapest.end();
      for (int c = 0; c < kColumns; ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        if (c != kTransition && c != kMethod)
          item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (best && c >= kMethod) {
          item->setBackground(kCheapest);
          QFont font = item->font();
          font.setBold(true);
          item->setFont(font);
        }
        if (!valid) item->setForeground(Qt::gray);
        if (c == kMethod) item->setForeground(valid ? BudgetChart::MethodColour(m) : Qt::gray);
        table_->setItem(first_row + m, c, item);
      }
    }
  };
  for (int t = 0; t < transitions; ++t) {
    const TransitionBudget& transition = budget_.transitions[static_cast<std::size_t>(t)];
    const QString name = TransitionName(transition);
    fill(FirstRowOf(t), transition, name, false);
    std::vector<int64_t> group;
    for (const BudgetMethod& method : methods)
      group.push_back((transition.*method.cost).operations);
    operations.push_back(std::move(group));
    names << name;
  }
  fill(FirstRowOf(transitions), budget_.total, Text("Всего"), true);
  table_->resizeColumnsToContents();
  chart_->SetValues(std::move(operations), names);
}

}  // namespace lumigrid

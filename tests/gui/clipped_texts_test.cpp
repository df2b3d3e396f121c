// Every text of the side panels fits its control, measured with the control's own font and
// style: a clipped or elided word ("в конец файл…") is a fault a user reads.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyleOption>

#include "app/commands.h"
#include "picture/editor.h"
#include "test_support.h"
#include "ui/side_panel_frame.h"

namespace lumigrid::testing_support {
namespace {

struct Clipped {
  QString control;
  QString text;
  QSize needed;
  QSize room;
  bool operator==(const Clipped&) const = default;
};

void PrintTo(const Clipped& c, std::ostream* os) {
  *os << c.control.toStdString() << " \"" << c.text.toStdString() << "\" needs " << c.needed.width()
      << "x" << c.needed.height() << " in " << c.room.width() << "x" << c.room.height();
}

// The room each text of `w` is drawn in, in w's coordinates, as its style lays it out.
QList<std::pair<QString, QRect>> TextsAndRooms(QWidget* w) {
  QStyle* style = w->style();
  if (auto* label = qobject_cast<QLabel*>(w)) {
    if (label->text().isEmpty() || label->wordWrap() || Qt::mightBeRichText(label->text())) {
      return {};
    }
    const int inset = label->margin() + std::max(0, label->indent());
    return {{label->text(), label->contentsRect().adjusted(inset, inset, -inset, -inset)}};
  }
  if (auto* combo = qobject_cast<QComboBox*>(w)) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    // The label is drawn 1 pixel in from each side of the edit field.
    const QRect field =
        style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
            .adjusted(1, 0, -1, 0);
    QList<std::pair<QString, QRect>> items;
    for (int i = 0; i < combo->count(); ++i) items.append({combo->itemText(i), field});
    return items;
  }
  if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<QCheckBox*>(w)) contents = QStyle::SE_CheckBoxContents;
    if (qobject_cast<QRadioButton*>(w)) contents = QStyle::SE_RadioButtonContents;
    QRect room = style->subElementRect(contents, &option, button);
    if (contents == QStyle::SE_PushButtonContents) {
      // Fusion and Windows draw the text inside the button's margins.
      const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, &option, button) / 2;
      room.adjust(margin, 0, -margin, 0);
    }
    return {{QString(button->text()).remove('&'), room}};
  }
  if (auto* box = qobject_cast<QGroupBox*>(w)) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    option.textAlignment = box->alignment();
    const QRect label =
        style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    return {{box->title(), label.intersected(box->rect())}};
  }
  if (auto* spin = qobject_cast<QSpinBox*>(w)) {
    QStyleOptionSpinBox option;
    option.initFrom(spin);
    option.frame = spin->hasFrame();
    option.subControls = QStyle::SC_SpinBoxEditField;
    const QRect field =
        style->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxEditField, spin);
    // The line edit inside keeps 2 pixels on each side.
    return {{spin->prefix() + QString::number(spin->maximum()) + spin->suffix(),
             field.adjusted(2, 0, -2, 0)}};
  }
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    // Short fields hold their longest content; longer ones what they show now.
    const QString text = edit->maxLength() <= 8 ? QString(edit->maxLength(), '0') : edit->text();
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
    const QMargins m = edit->textMargins();
    return {{text, style->subElementRect(QStyle::SE_LineEditContents, &option, edit)
                       .adjusted(m.left() + 2, m.top(), -m.right() - 2, -m.bottom())}};
  }
  return {};
}

// The texts of `panel` that do not fit the part of their control that the panel shows.
QList<Clipped> ClippedTexts(QWidget* panel) {
  panel->grab();  // laid out and polished as on screen
  QList<Clipped> clipped;
  for (QWidget* w : panel->findChildren<QWidget*>()) {
    // Widgets inside a combined control (a spin box's line edit) are measured with it.
    if (w->parentWidget() != panel && !qobject_cast<QLineEdit*>(w)) continue;
    if (qobject_cast<QLineEdit*>(w) && qobject_cast<QSpinBox*>(w->parentWidget())) continue;
    const QRect shown =
        QRect(w->mapFrom(panel, QPoint(0, 0)), panel->size())
            .adjusted(panel->contentsMargins().left(), 0, -panel->contentsMargins().right(), 0);
    const QFontMetrics metrics = w->fontMetrics();
    for (const auto& [text, rect] : TextsAndRooms(w)) {
      if (text.isEmpty()) continue;
      const QRect room = rect.intersected(shown);
      const QStringList lines = text.split('\n');
      int width = 0;
      for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
      const QSize needed(width, metrics.height() + metrics.lineSpacing() * (lines.size() - 1));
      if (needed.width() > room.width() || needed.height() > room.height()) {
        clipped.append(
            {QString::fromUtf8(w->metaObject()->className()), text, needed, room.size()});
      }
    }
  }
  return clipped;
}

class ClippedTextsTest : public MainWindowTest {};

TEST_F(ClippedTextsTest, EveryPanelTextFitsItsControl) {
  // A cell open, so that the readout shows its position and code.
  Window().Dispatch(command::kModeEditing);
  State().Buffer(1).Bytes().fill(0xFF);
  DoubleClickCell(128);
  for (int mode = 1; mode <= 5; ++mode) {
    Window().SwitchWorkMode(mode);
    for (int i = 0; i < 6; ++i) {
      ui::SidePanelFrame* panel = Window().Panel(i);
      if (!panel->isVisible()) continue;
      EXPECT_EQ(ClippedTexts(panel), QList<Clipped>())
          << "mode " << mode << ", panel " << panel->TitleLabel()->text().toStdString();
    }
  }
}

}  // namespace
}  // namespace lumigrid::testing_support

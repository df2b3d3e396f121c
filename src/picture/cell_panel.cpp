#include "picture/cell_panel.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "picture/readout_text.h"
#include "picture/zoom_view_widget.h"

namespace lumigrid {

namespace {

QLabel* ColouredLabel(const QString& text, QColor colour, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette palette = label->palette();
  // Only the enabled look takes the colour; disabled text stays the system's grey.
  palette.setColor(QPalette::Active, QPalette::WindowText, colour);
  palette.setColor(QPalette::Inactive, QPalette::WindowText, colour);
  label->setPalette(palette);
  return label;
}

}  // namespace

CellPanel::CellPanel(QWidget* parent)
    : ui::SidePanelFrame(QStringLiteral("Редактируемый символ"), 240, QString(), parent) {
  auto* zoom_frame = new QFrame(this);
  zoom_frame->setFrameStyle(QFrame::Box | QFrame::Plain);
  zoom_frame->setLineWidth(1);
  zoom_frame->setGeometry(4, 30, 144, 144);
  zoom_ = new ZoomViewWidget(zoom_frame);
  zoom_->move(2, 2);

  position_label_ =
      ColouredLabel(QString::fromUtf8(kPositionLabelText), QColor(132, 23, 123), this);
  position_label_->setGeometry(155, 70, 58, 74);
  position_values_ = ColouredLabel(QString(), palette().color(QPalette::WindowText), this);
  position_values_->setGeometry(216, 70, 30, 74);

  auto* code_caption = ColouredLabel(QStringLiteral("Код"), QColor(115, 26, 140), this);
  code_caption->setGeometry(2, 186, 30, 15);

  code_field_ = new QLineEdit(this);
  code_field_->setGeometry(1, 200, 224, 20);
  code_field_->setReadOnly(true);
  QPalette palette = code_field_->palette();
  palette.setColor(QPalette::Text, QColor(34, 2, 221));
  palette.setColor(QPalette::Base, QColor(245, 245, 245));
  code_field_->setPalette(palette);
  code_field_->installEventFilter(this);

  ClearReadout();
}

void CellPanel::ShowReadout(const CellPlace& place, const CellBytes& bytes) {
  position_values_->setText(QString::fromStdString(PositionValuesText(place)));
  code_field_->setText(QString::fromStdString(CodeFieldText(bytes)));
  code_field_->setCursorPosition(0);  // the first byte in view
  position_label_->setEnabled(true);
}

void CellPanel::ClearReadout() {
  code_field_->clear();
  position_values_->clear();
  position_label_->setEnabled(false);
}

bool CellPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == code_field_ && event->type() == QEvent::FocusIn) {
    // Select the whole code once the focus has settled, so a mouse click does not undo it.
    QTimer::singleShot(0, code_field_, [field = code_field_] { field->selectAll(); });
  }
  return ui::SidePanelFrame::eventFilter(watched, event);
}

}  // namespace lumigrid

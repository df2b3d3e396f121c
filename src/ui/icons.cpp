#include "ui/icons.h"

#include <QString>

// Resources of a static library are registered by name, outside any namespace.
static void InitLumigridResources() { Q_INIT_RESOURCE(lumigrid); }

namespace lumigrid::ui {

namespace {
QPixmap LoadResource(const QString& name) {
  static const bool initialised = [] {
    InitLumigridResources();
    return true;
  }();
  (void)initialised;
  return QPixmap(QStringLiteral(":/images/") + name);
}
}  // namespace

QPixmap EmbeddedImage(int number) { return LoadResource(QString::number(number) + ".xpm"); }

QIcon EmbeddedIcon(int number) { return QIcon(EmbeddedImage(number)); }

QPixmap AboutPicture() {
  // A small display picture, each of its pixels shown as a 4 x 4 square.
  return LoadResource(QStringLiteral("about.xpm")).scaled(100, 100);
}

QImage ProgramIconImage(int size) {
  return LoadResource(QStringLiteral("program.xpm"))
      .toImage()
      .convertToFormat(QImage::Format_ARGB32)
      .scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : kProgramIconSizes) icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
  return icon;
}

}  // namespace lumigrid::ui

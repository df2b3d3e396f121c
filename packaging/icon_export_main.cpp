// Writes the program's icon in every size of the desktop's icon theme:
//   lumigrid_icon_export <folder>  ->  <folder>/<n>x<n>/apps/<id>.png
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "ui/application.h"
#include "ui/icons.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: lumigrid_icon_export <folder>\n");
    return 2;
  }
  const QDir root(QString::fromLocal8Bit(argv[1]));
  for (int size : lumigrid::ui::kProgramIconSizes) {
    const QString folder = root.filePath(QStringLiteral("%1x%1/apps").arg(size));
    const QString path = folder + QStringLiteral("/%1.png").arg(lumigrid::ui::kDesktopId);
    const QImage image = lumigrid::ui::ProgramIconImage(size);
    if (image.isNull() || !QDir().mkpath(folder) || !image.save(path)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}

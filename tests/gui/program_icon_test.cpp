// The program's icon and name as the desktop sees them: the drawn SVG and the embedded picture
// are one picture, every theme size enlarges it exactly, and the installed files name the
// same desktop id as the running program.
#include <QApplication>
#include <QColor>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QRegularExpression>

#include <filesystem>

#include <gtest/gtest.h>

#include "ui/application.h"
#include "ui/icons.h"

namespace lumigrid {
namespace {

const std::filesystem::path kSourceDir =
    std::filesystem::path(LUMIGRID_TEST_DATA_DIR).parent_path().parent_path();

QString ReadSource(const std::filesystem::path& relative) {
  QFile file(QString::fromStdString((kSourceDir / relative).string()));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relative;
  return QString::fromUtf8(file.readAll());
}

// The SVG's 16 x 16 grid: each path fills unit rows "Mx yhWv1h-Wz" in its colour.
QImage RasteriseSvgGrid(const QString& svg) {
  QImage grid(16, 16, QImage::Format_ARGB32);
  grid.fill(Qt::transparent);
  static const QRegularExpression path(R"re(<path fill="(#[0-9A-Fa-f]{6})" d="([^"]*)")re");
  static const QRegularExpression run(R"(M(\d+) (\d+)h(\d+)v1h-(\d+)z)");
  for (const auto& p : path.globalMatch(svg)) {
    const QColor colour(p.captured(1));
    for (const auto& r : run.globalMatch(p.captured(2))) {
      const int x = r.captured(1).toInt();
      const int y = r.captured(2).toInt();
      const int width = r.captured(3).toInt();
      EXPECT_EQ(width, r.captured(4).toInt()) << r.captured(0).toStdString();
      for (int i = x; i < x + width && i < 16 && y < 16; ++i) grid.setPixel(i, y, colour.rgba());
    }
  }
  return grid;
}

TEST(ProgramIconTest, ScalableSvgIsTheEmbeddedPicture) {
  const QImage svg = RasteriseSvgGrid(ReadSource("resources/icons/lumigrid.svg"));
  const QImage embedded = ui::ProgramIconImage(16);
  ASSERT_EQ(embedded.size(), QSize(16, 16));
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const QRgb a = embedded.pixel(x, y);
      const QRgb b = svg.pixel(x, y);
      // Transparent pixels match whatever colour channels they carry.
      EXPECT_TRUE(a == b || (qAlpha(a) == 0 && qAlpha(b) == 0))
          << "pixel " << x << "," << y << ": embedded " << std::hex << a << " svg " << b;
    }
  }
}

TEST(ProgramIconTest, EverySizeEnlargesTheSamePixels) {
  const QImage base = ui::ProgramIconImage(16);
  for (int size : ui::kProgramIconSizes) {
    const QImage image = ui::ProgramIconImage(size);
    ASSERT_EQ(image.size(), QSize(size, size)) << size;
    const int scale = size / 16;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        ASSERT_EQ(image.pixel(x, y), base.pixel(x / scale, y / scale))
            << "size " << size << " pixel " << x << "," << y;
      }
    }
  }
}

TEST(ProgramIconTest, ApplicationCarriesNameIconAndDesktopId) {
  EXPECT_EQ(QApplication::applicationName(), "Lumigrid");
  EXPECT_EQ(QGuiApplication::desktopFileName(), ui::kDesktopId);
  const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
  for (int size : ui::kProgramIconSizes) {
    EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
  }
}

// The installed files are found by the id the program reports; a rename in one place would
// leave the running window without its menu entry and icon.
TEST(ProgramIconTest, InstalledFilesUseTheDesktopId) {
  const std::string id = ui::kDesktopId;
  const struct {
    std::string file;
    QString must_contain;
  } cases[] = {
      {"packaging/" + id + ".desktop", QStringLiteral("\nIcon=%1\n").arg(ui::kDesktopId)},
      {"packaging/" + id + ".desktop", "\nExec=lumigrid %f\n"},
      {"packaging/" + id + ".desktop", "\nMimeType=application/x-lumigrid-picture;\n"},
      {"packaging/" + id + ".metainfo.xml.in", QStringLiteral("<id>%1</id>").arg(ui::kDesktopId)},
      {"packaging/" + id + ".metainfo.xml.in",
       QStringLiteral("<launchable type=\"desktop-id\">%1.desktop</launchable>")
           .arg(ui::kDesktopId)},
      {"packaging/" + id + ".xml", R"(<mime-type type="application/x-lumigrid-picture">)"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(ReadSource(c.file).contains(c.must_contain))
        << c.file << " lacks " << c.must_contain.toStdString();
  }
}

}  // namespace
}  // namespace lumigrid

#include <gtest/gtest.h>

#include "ui/platform.h"

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

}  // namespace
}  // namespace lumigrid::ui

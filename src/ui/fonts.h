// The program's two faces: "MS Sans Serif" for the window, "Lucida Console" for listings.
// Where they are missing the nearest face of the same kind takes their place.
#pragma once

#include <QFont>

namespace lumigrid::ui {

inline QFont SansSerifFont(int points, bool bold = false) {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                    QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(points);
  font.setBold(bold);
  return font;
}

inline QFont MonospaceFont(int points) {
  QFont font;
  font.setFamilies({QStringLiteral("Lucida Console"), QStringLiteral("Liberation Mono"),
                    QStringLiteral("DejaVu Sans Mono")});
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSize(points);
  return font;
}

}  // namespace lumigrid::ui

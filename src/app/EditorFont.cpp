#include "app/EditorFont.h"

#include <QFontDatabase>

#include <algorithm>

namespace tesmora::app {

QFont editorFont(int index) {
  const int points = kFontSizes[std::clamp(index, 0, lastFontIndex())];
  const QString preferred = QStringLiteral("Courier New");
  QFont font = QFontDatabase::hasFamily(preferred)
                   ? QFont(preferred)
                   : QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSize(points);
  font.setWeight(points >= kSemiboldFromPoints ? QFont::DemiBold
                                               : QFont::Normal);
  return font;
}

}  // namespace tesmora::app

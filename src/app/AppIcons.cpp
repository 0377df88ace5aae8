#include "app/AppIcons.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The icons are compiled into a static library, whose resource
// registration the linker may drop; Q_INIT_RESOURCE keeps it.
static void registerIconResources() { Q_INIT_RESOURCE(icons); }

namespace tesmora::app {

namespace {

// The ink colour the bundled drawings are made with; replaced by the
// palette's text colour.
constexpr char kInk[] = "#1f1f1f";

QIcon bundledIcon(const QString& name, const QPalette& palette) {
  registerIconResources();
  QFile file(QStringLiteral(":/icons/%1.svg").arg(name));
  if (!file.open(QIODevice::ReadOnly)) return {};
  QByteArray svg = file.readAll();
  const auto tinted = [&](QPalette::ColorGroup group) {
    QByteArray copy = svg;
    copy.replace(kInk, palette.color(group, QPalette::ButtonText)
                           .name()
                           .toLatin1());
    return copy;
  };
  QIcon icon;
  for (const auto& [group, mode] :
       {std::pair{QPalette::Active, QIcon::Normal},
        std::pair{QPalette::Disabled, QIcon::Disabled}}) {
    QSvgRenderer renderer(tinted(group));
    for (int size : {16, 22, 24, 32, 48}) {
      QPixmap pixmap(size, size);
      pixmap.fill(Qt::transparent);
      QPainter painter(&pixmap);
      painter.setRenderHint(QPainter::Antialiasing);
      renderer.render(&painter);
      painter.end();
      icon.addPixmap(pixmap, mode);
    }
  }
  return icon;
}

}  // namespace

QIcon themedIcon(const QString& name, const QPalette& palette) {
  if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
  return bundledIcon(name, palette);
}

QIcon applicationIcon() {
  registerIconResources();
  return QIcon(QStringLiteral(":/icons/tesmora.svg"));
}

}  // namespace tesmora::app

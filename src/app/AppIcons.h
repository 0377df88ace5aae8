// Toolbar and menu icons: the desktop theme's icon when it has one, else
// the program's own line drawing (src/app/icons), drawn in the palette's
// text colour so that it reads on light and dark themes alike.
#pragma once

#include <QIcon>
#include <QPalette>
#include <QString>

namespace tesmora::app {

// `name` is a freedesktop icon name ("document-open") and the name of the
// bundled drawing.
QIcon themedIcon(const QString& name, const QPalette& palette);

// The program's own icon (windows, the desktop file).
QIcon applicationIcon();

}  // namespace tesmora::app

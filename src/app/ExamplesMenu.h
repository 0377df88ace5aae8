// The "Примеры" menu: ready-made sample programs compiled into the
// program. One table gives every entry's place in the menu (a submenu and
// an item, or an item alone; an empty entry is a separator) and the file
// that holds its text.
#pragma once

#include <QString>

#include <functional>
#include <span>

class QMenu;
class QWidget;

namespace tesmora::app {

struct ExampleEntry {
  // "Submenu/Item" or "Item"; null for a separator.
  const char* menuPath;
  // File name of the sample among the compiled-in examples.
  const char* file;
};

// The entries in menu order.
std::span<const ExampleEntry> exampleEntries();

// The text of a compiled-in sample (LF line ends); empty when there is no
// sample of that name.
QString exampleText(const QString& file);

// Builds the menu under `parent`; choosing an entry hands its text to
// `load`.
QMenu* createExamplesMenu(QWidget* parent,
                          std::function<void(const QString& text)> load);

}  // namespace tesmora::app

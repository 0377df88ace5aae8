// The modal picture window of show() and qshow(): the menu the program
// asked for above the picture, drawn by the core's layout through a
// QPainter canvas, with the cursor's world coordinates in the strips at the
// top and bottom. It ends with the code of the chosen item (0 when closed).
// A small toolbar and the context menu copy the picture to the clipboard
// and save it as PNG, SVG or PDF, at the window's size or a chosen one.
#pragma once

#include <QDialog>
#include <QSize>
#include <QStringList>

#include "interp/Host.h"

namespace tesmora::app {

class PictureDialog : public QDialog {
  Q_OBJECT

 public:
  PictureDialog(const QString& title, QStringList items, PictureMode mode,
                QWidget* parent = nullptr,
                graphics::PictureState* picture = nullptr);

  // The end code of an item: its command for show(), or the qshow answer
  // (1 skip, 2 ask).
  static int codeOf(const QString& item, PictureMode mode, int index);

  // The size of the drawing area: what copy and save write by default.
  QSize pictureSize() const;
  // Writes the picture to `path` in the format its extension names; false
  // (after telling the user) on failure.
  bool savePictureTo(const QString& path, QSize size);
  void copyPicture();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void saveAs(bool chooseSize);

  bool hasContinue_ = false;
  graphics::PictureState* picture_ = nullptr;
  QWidget* view_ = nullptr;
};

}  // namespace tesmora::app

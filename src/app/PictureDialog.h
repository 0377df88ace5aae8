// The modal picture window of show() and qshow(): the menu the program
// asked for above the picture, drawn by the core's layout through a
// QPainter canvas, with the cursor's world coordinates in the strips at the
// top and bottom. It ends with the code of the chosen item (0 when closed).
#pragma once

#include <QDialog>
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

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool hasContinue_ = false;
};

}  // namespace tesmora::app

// The modal window of show() and qshow(): it carries the picture's title
// and the menu the program asked for, and ends with the code of the chosen
// item (0 when closed). Drawing the picture itself belongs to the picture
// window of the graphics layer, which takes this dialog's place.
#pragma once

#include <QDialog>
#include <QStringList>

#include "interp/Host.h"

namespace tesmora::app {

class PictureDialog : public QDialog {
  Q_OBJECT

 public:
  PictureDialog(const QString& title, QStringList items, PictureMode mode,
                QWidget* parent = nullptr);

  // The end code of an item: its command for show(), or the qshow answer
  // (1 skip, 2 ask).
  static int codeOf(const QString& item, PictureMode mode, int index);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool hasContinue_ = false;
};

}  // namespace tesmora::app

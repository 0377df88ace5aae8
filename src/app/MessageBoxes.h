// The program's message boxes: the boxes a running program asks for (a
// button set and an icon, answered with the pressed button's name) and the
// result and error boxes of a run.
#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

#include <utility>

#include "interp/Host.h"

namespace tesmora::app {

// Shows `box` modally and returns the name of the pressed button ("OK",
// "CANCEL", "ABORT", "RETRY", "IGNORE", "YES", "NO", "TRY", "CONTINUE"),
// or "" when the box was closed without one.
QString showButtonBox(QWidget* parent, const BoxRequest& box);

// Builds the box of `box` without showing it, so that the caller (and the
// tests) can inspect it; `nameOf` then maps a clicked button to its name.
class ButtonBox {
 public:
  ButtonBox(QWidget* parent, const BoxRequest& box);
  QMessageBox& dialog() { return dialog_; }
  QString nameOf(const QAbstractButton* button) const;

 private:
  QMessageBox dialog_;
  QList<std::pair<const QAbstractButton*, QString>> names_;
};

QMessageBox::Icon iconOf(const std::string& icon);

// Ctrl+C in the box puts its text on the clipboard; the text can also be
// selected with the mouse.
void makeTextCopyable(QMessageBox& box);

// A plain-text box with an OK button (the result of a run, errors).
void showTextBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                 const QString& text);

// While a run shows the wait cursor, a box that needs an answer shows the
// normal one.
class NormalCursorWhileModal {
 public:
  NormalCursorWhileModal();
  ~NormalCursorWhileModal();
  NormalCursorWhileModal(const NormalCursorWhileModal&) = delete;
  NormalCursorWhileModal& operator=(const NormalCursorWhileModal&) = delete;

 private:
  bool pushed_;
};

}  // namespace tesmora::app

// CGetStrDlg: the line-input dialog of getstr. A read-only field shows the
// prompt, the input field has the focus, "ОК" takes the typed text; closing
// the dialog any other way yields no text.
#pragma once

#include <QDialog>

class QLineEdit;

namespace tesmora::app {

class CGetStrDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CGetStrDlg(const QString& prompt, QWidget* parent = nullptr);

  // The typed text after "ОК", otherwise empty.
  QString result() const { return result_; }

  QLineEdit* promptField() const { return prompt_; }
  QLineEdit* inputField() const { return input_; }

  void accept() override;

 private:
  QLineEdit* prompt_;
  QLineEdit* input_;
  QString result_;
};

}  // namespace tesmora::app

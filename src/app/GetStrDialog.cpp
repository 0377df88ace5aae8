#include "app/GetStrDialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/TextBridge.h"

namespace tesmora::app {

CGetStrDlg::CGetStrDlg(const QString& prompt, QWidget* parent)
    : QDialog(parent), prompt_(new QLineEdit(prompt)), input_(new QLineEdit) {
  setWindowTitle(QStringLiteral("Tesmora"));
  prompt_->setReadOnly(true);
  prompt_->setFocusPolicy(Qt::NoFocus);
  prompt_->setMinimumWidth(360);

  auto* ok = new QPushButton(QStringLiteral("ОК"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &CGetStrDlg::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt_);
  layout->addWidget(input_);
  layout->addLayout(buttons);

  input_->setFocus();
}

void CGetStrDlg::accept() {
  // The program receives the text as Windows-1251; a character the code
  // page lacks is refused here rather than altered behind the user's back.
  const Cp1251Text converted = toCp1251CrLf(input_->text());
  if (!converted.ok) {
    QMessageBox::warning(
        this, QStringLiteral("Ошибка"),
        QStringLiteral("Символа «%1» нет в кодировке Windows-1251.")
            .arg(converted.badCharacter));
    input_->setFocus();
    return;
  }
  result_ = input_->text();
  QDialog::accept();
}

}  // namespace tesmora::app

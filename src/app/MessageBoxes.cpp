#include "app/MessageBoxes.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QGridLayout>
#include <QSpacerItem>
#include <QPushButton>

#include "app/TextBridge.h"

namespace tesmora::app {

namespace {

struct ButtonKind {
  const char* name;                      // the name the program receives
  QMessageBox::StandardButton standard;  // NoButton: a custom button
  QMessageBox::ButtonRole role;          // for custom buttons
  const char16_t* label;
};

// Every button a program can ask for, labelled as the Russian system labels
// them.
constexpr ButtonKind kButtons[] = {
    {"OK", QMessageBox::Ok, QMessageBox::AcceptRole, u"ОК"},
    {"CANCEL", QMessageBox::Cancel, QMessageBox::RejectRole, u"Отмена"},
    {"ABORT", QMessageBox::Abort, QMessageBox::RejectRole, u"Прервать"},
    {"RETRY", QMessageBox::Retry, QMessageBox::AcceptRole, u"Повтор"},
    {"IGNORE", QMessageBox::Ignore, QMessageBox::AcceptRole, u"Пропустить"},
    {"YES", QMessageBox::Yes, QMessageBox::YesRole, u"Да"},
    {"NO", QMessageBox::No, QMessageBox::NoRole, u"Нет"},
    {"TRY", QMessageBox::NoButton, QMessageBox::AcceptRole, u"Повторить"},
    {"CONTINUE", QMessageBox::NoButton, QMessageBox::AcceptRole,
     u"Продолжить"},
};

const ButtonKind* buttonKind(QStringView name) {
  for (const ButtonKind& kind : kButtons) {
    if (name == QLatin1String(kind.name)) return &kind;
  }
  return nullptr;
}

// A message box sizes itself to its text only; a short value under a long
// caption would cut the caption off. Room is left for the title bar's
// buttons as well.
void fitCaption(QMessageBox& box) {
  constexpr int kTitleBarButtons = 120;
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid == nullptr) return;
  const int width =
      box.fontMetrics().horizontalAdvance(box.windowTitle()) + kTitleBarButtons;
  grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum,
                                QSizePolicy::Expanding),
                grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

namespace {

// Qt copies a message box's text with Ctrl+C on Windows only; here the
// whole text is copied wherever the program runs. The key reaches the box
// when its focused button ignores it, or directly.
class CopyKey : public QObject {
 public:
  explicit CopyKey(QMessageBox& box) : QObject(&box), box_(box) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
      // A part the user selected in the text is copied by the label itself.
      auto* label = box_.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
      if (label != nullptr && label->hasSelectedText() && watched == label)
        return false;
      QGuiApplication::clipboard()->setText(
          label != nullptr && label->hasSelectedText() ? label->selectedText()
                                                       : box_.text());
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QMessageBox& box_;
};

}  // namespace

void makeTextCopyable(QMessageBox& box) {
  box.setTextInteractionFlags(Qt::TextSelectableByMouse |
                              Qt::TextSelectableByKeyboard);
  auto* filter = new CopyKey(box);
  box.installEventFilter(filter);
}

QMessageBox::Icon iconOf(const std::string& icon) {
  if (icon == "(X)") return QMessageBox::Critical;
  if (icon == "(?)") return QMessageBox::Question;
  if (icon == "!") return QMessageBox::Warning;
  if (icon == "(i)") return QMessageBox::Information;
  return QMessageBox::NoIcon;
}

ButtonBox::ButtonBox(QWidget* parent, const BoxRequest& box) : dialog_(parent) {
  dialog_.setWindowTitle(fromCp1251(box.caption));
  dialog_.setTextFormat(Qt::PlainText);
  dialog_.setText(fromCp1251(box.text));
  dialog_.setIcon(iconOf(box.icon));

  const QString set = QString::fromStdString(box.buttons);
  for (const QString& name : set.split(QLatin1Char('|'))) {
    const ButtonKind* kind = buttonKind(name);
    if (kind == nullptr) continue;
    QAbstractButton* button =
        kind->standard == QMessageBox::NoButton
            ? dialog_.addButton(QString::fromUtf16(kind->label), kind->role)
            : dialog_.addButton(kind->standard);
    button->setText(QString::fromUtf16(kind->label));
    names_.append({button, QString::fromLatin1(kind->name)});
  }
  if (names_.isEmpty()) {
    // An unknown set still gives the user a way out of the box.
    QAbstractButton* ok = dialog_.addButton(QMessageBox::Ok);
    ok->setText(QString::fromUtf16(kButtons[0].label));
    names_.append({ok, QStringLiteral("OK")});
  }
  fitCaption(dialog_);
  makeTextCopyable(dialog_);
}

QString ButtonBox::nameOf(const QAbstractButton* button) const {
  for (const auto& [candidate, name] : names_) {
    if (candidate == button) return name;
  }
  return {};
}

QString showButtonBox(QWidget* parent, const BoxRequest& box) {
  ButtonBox buttonBox(parent, box);
  buttonBox.dialog().exec();
  return buttonBox.nameOf(buttonBox.dialog().clickedButton());
}

void showTextBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                 const QString& text) {
  QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("ОК"));
  fitCaption(box);
  makeTextCopyable(box);
  box.exec();
}

NormalCursorWhileModal::NormalCursorWhileModal()
    : pushed_(QApplication::overrideCursor() != nullptr) {
  if (pushed_) QApplication::setOverrideCursor(Qt::ArrowCursor);
}

NormalCursorWhileModal::~NormalCursorWhileModal() {
  if (pushed_) QApplication::restoreOverrideCursor();
}

}  // namespace tesmora::app

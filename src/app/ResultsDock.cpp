#include "app/ResultsDock.h"

#include <QAction>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QListWidget>
#include <QVBoxLayout>

#include "app/RunController.h"
#include "app/TextBridge.h"

namespace tesmora::app {

namespace {

constexpr int kErrorPositionRole = Qt::UserRole + 1;
// Long results keep their first lines in the pane; the whole text is in
// the tool tip and in the result box.
constexpr int kShownLines = 12;

QString firstLines(const QString& text) {
  const QStringList lines = text.split(QLatin1Char('\n'));
  if (lines.size() <= kShownLines) return text;
  return lines.mid(0, kShownLines).join(QLatin1Char('\n')) +
         QStringLiteral("\n…");
}

}  // namespace

QString consoleProgramText(const QString& line) {
  const QString trimmed = line.trimmed();
  if (trimmed.endsWith(QLatin1Char(';')) || trimmed.endsWith(QLatin1Char('}')))
    return line;
  // An assignment is a single "=" outside strings and brackets, as the
  // scanner's pre-check sees it (==, <=, >=, != are comparisons).
  bool inString = false;
  int depth = 0;
  for (qsizetype i = 0; i < trimmed.size(); ++i) {
    const QChar c = trimmed[i];
    if (c == u'"') inString = !inString;
    if (inString) continue;
    if (c == u'(' || c == u'[') ++depth;
    else if (c == u')' || c == u']') --depth;
    else if (c == u'=' && depth == 0) {
      const QChar before = i > 0 ? trimmed[i - 1] : QChar();
      const QChar after = i + 1 < trimmed.size() ? trimmed[i + 1] : QChar();
      if (after != u'=' && before != u'=' && before != u'<' &&
          before != u'>' && before != u'!')
        return line + QLatin1Char(';');
    }
  }
  return line;
}

ConsoleLine::ConsoleLine(QWidget* parent) : QLineEdit(parent) {
  setObjectName(QStringLiteral("console"));
  setPlaceholderText(QStringLiteral(
      "Выражение или оператор; Enter выполняет его с текущими переменными"));
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  connect(this, &QLineEdit::returnPressed, this, [this] {
    const QString line = text();
    if (line.trimmed().isEmpty()) return;
    if (history_.isEmpty() || history_.last() != line) history_ << line;
    position_ = int(history_.size());
    typing_.clear();
    clear();
    emit submitted(line);
  });
}

void ConsoleLine::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if ((key == Qt::Key_Up || key == Qt::Key_Down) && !history_.isEmpty()) {
    if (position_ == history_.size()) typing_ = text();
    position_ += key == Qt::Key_Up ? -1 : 1;
    position_ = std::clamp(position_, 0, int(history_.size()));
    setText(position_ == history_.size() ? typing_ : history_[position_]);
    return;
  }
  QLineEdit::keyPressEvent(event);
}

ResultsDock::ResultsDock(QWidget* parent)
    : QDockWidget(QStringLiteral("Результаты"), parent),
      history_(new QListWidget),
      console_(new ConsoleLine) {
  setObjectName(QStringLiteral("resultsDock"));
  history_->setObjectName(QStringLiteral("resultsHistory"));
  history_->setWordWrap(true);
  history_->setAlternatingRowColors(true);
  history_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  history_->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(history_, &QListWidget::itemClicked, this, &ResultsDock::activate);
  connect(history_, &QListWidget::itemActivated, this, &ResultsDock::activate);
  connect(console_, &ConsoleLine::submitted, this,
          &ResultsDock::consoleLineEntered);

  auto* clear = new QAction(QStringLiteral("Очистить историю"), history_);
  connect(clear, &QAction::triggered, history_, &QListWidget::clear);
  history_->addAction(clear);
  history_->setContextMenuPolicy(Qt::ActionsContextMenu);

  auto* body = new QWidget;
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(history_, 1);
  layout->addWidget(console_);
  setWidget(body);
}

void ResultsDock::addOutcome(const RunOutcome& outcome) {
  const RunReport& report = outcome.report;
  const QString time = outcome.finishedAt.toString(QStringLiteral("HH:mm:ss"));
  QString head = time;
  if (outcome.fromConsole) head += QStringLiteral("  > ") + outcome.consoleLine;
  else if (outcome.fragment) head += QStringLiteral("  (выделенное)");

  QString body;
  auto* item = new QListWidgetItem;
  if (report.ok) {
    if (report.shown) {
      body = fromCp1251(report.caption) + QStringLiteral(":\n") +
             fromCp1251(report.text);
    } else {
      body = fromCp1251(report.status);
    }
  } else {
    body = fromCp1251(report.errorTitle) + QStringLiteral(": ") +
           fromCp1251(report.errorMessage);
    item->setForeground(palette().color(QPalette::Text).lightnessF() > 0.5
                            ? QColor(0xff, 0x80, 0x80)
                            : QColor(0xc0, 0x00, 0x00));
    item->setData(kErrorPositionRole, outcome.errorPosition);
    if (outcome.errorPosition >= 0)
      item->setToolTip(QStringLiteral("Щелкните, чтобы перейти к ошибке"));
  }
  item->setText(head + QLatin1Char('\n') + firstLines(body));
  if (item->toolTip().isEmpty() && body.size() > 0) item->setToolTip(body);
  history_->addItem(item);
  history_->scrollToBottom();
}

void ResultsDock::activate(QListWidgetItem* item) {
  const QVariant position = item->data(kErrorPositionRole);
  if (position.isValid() && position.toInt() >= 0)
    emit errorActivated(position.toInt());
}

}  // namespace tesmora::app

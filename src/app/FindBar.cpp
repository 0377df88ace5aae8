#include "app/FindBar.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QToolButton>

#include "app/Editor.h"
#include "app/WordBounds.h"

namespace tesmora::app {

namespace {

bool boundaryAt(const QString& text, qsizetype at) {
  return at < 0 || at >= text.size() || isWordSeparator(text[at]);
}

}  // namespace

QList<int> findMatches(const QString& text, const QString& pattern,
                       bool matchCase, bool wholeWord) {
  QList<int> starts;
  if (pattern.isEmpty()) return starts;
  const Qt::CaseSensitivity sensitivity =
      matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
  qsizetype at = text.indexOf(pattern, 0, sensitivity);
  while (at >= 0) {
    const qsizetype end = at + pattern.size();
    if (!wholeWord || (boundaryAt(text, at - 1) && boundaryAt(text, end))) {
      starts.append(int(at));
      at = text.indexOf(pattern, end, sensitivity);
    } else {
      at = text.indexOf(pattern, at + 1, sensitivity);
    }
  }
  return starts;
}

FindBar::FindBar(Editor* editor, QWidget* parent)
    : QWidget(parent),
      editor_(editor),
      pattern_(new QLineEdit),
      replacement_(new QLineEdit),
      matchCase_(new QCheckBox(QStringLiteral("Учитывать &регистр"))),
      wholeWord_(new QCheckBox(QStringLiteral("&Слово целиком"))),
      count_(new QLabel) {
  setObjectName(QStringLiteral("findBar"));
  pattern_->setPlaceholderText(QStringLiteral("Найти"));
  pattern_->setClearButtonEnabled(true);
  replacement_->setPlaceholderText(QStringLiteral("Заменить на"));

  const auto button = [this](const QString& text, const QString& tip,
                             auto slot) {
    auto* b = new QPushButton(text);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, slot);
    return b;
  };
  auto* next = button(QStringLiteral("Далее"),
                      QStringLiteral("Следующее совпадение (F3)"),
                      &FindBar::findNext);
  auto* previous = button(QStringLiteral("Назад"),
                          QStringLiteral("Предыдущее совпадение (Shift+F3)"),
                          &FindBar::findPrevious);
  auto* replace = button(QStringLiteral("Заменить"),
                         QStringLiteral("Заменить выделенное совпадение"),
                         &FindBar::replaceCurrent);
  auto* replaceAll = button(QStringLiteral("Заменить все"),
                            QStringLiteral("Заменить все совпадения"),
                            [this] { this->replaceAll(); });
  auto* close = new QToolButton;
  close->setText(QStringLiteral("✕"));
  close->setToolTip(QStringLiteral("Закрыть (Esc)"));
  close->setAutoRaise(true);
  connect(close, &QToolButton::clicked, this, [this] {
    hide();
    editor_->setFocus();
  });

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 3, 6, 3);
  grid->addWidget(pattern_, 0, 0);
  grid->addWidget(next, 0, 1);
  grid->addWidget(previous, 0, 2);
  grid->addWidget(matchCase_, 0, 3);
  grid->addWidget(wholeWord_, 0, 4);
  grid->addWidget(count_, 0, 5);
  grid->addWidget(close, 0, 6);
  grid->addWidget(replacement_, 1, 0);
  grid->addWidget(replace, 1, 1);
  grid->addWidget(replaceAll, 1, 2);
  grid->setColumnStretch(0, 1);
  replaceRow_ = {replacement_, replace, replaceAll};

  connect(pattern_, &QLineEdit::textChanged, this, &FindBar::recount);
  connect(pattern_, &QLineEdit::returnPressed, this, &FindBar::findNext);
  connect(replacement_, &QLineEdit::returnPressed, this,
          &FindBar::replaceCurrent);
  connect(matchCase_, &QCheckBox::toggled, this, &FindBar::recount);
  connect(wholeWord_, &QCheckBox::toggled, this, &FindBar::recount);
  connect(editor_->document(), &QTextDocument::contentsChanged, this, [this] {
    if (isVisible()) recount();
  });
  hide();
}

void FindBar::open(bool replace) {
  for (QWidget* widget : replaceRow_) widget->setVisible(replace);
  const QString selected = editor_->selectedText();
  if (!selected.isEmpty() && !selected.contains(QLatin1Char('\n')))
    pattern_->setText(selected);
  show();
  pattern_->setFocus();
  pattern_->selectAll();
  recount();
}

void FindBar::setPattern(const QString& pattern) { pattern_->setText(pattern); }
void FindBar::setReplacement(const QString& replacement) {
  replacement_->setText(replacement);
}
void FindBar::setMatchCase(bool on) { matchCase_->setChecked(on); }
void FindBar::setWholeWord(bool on) { wholeWord_->setChecked(on); }

QString FindBar::countText() const { return count_->text(); }

void FindBar::recount() {
  matches_ = findMatches(editor_->text(), pattern_->text(),
                         matchCase_->isChecked(), wholeWord_->isChecked());
  if (pattern_->text().isEmpty()) count_->clear();
  else if (matches_.isEmpty()) count_->setText(QStringLiteral("Не найдено"));
  else count_->setText(QStringLiteral("Найдено: %1").arg(matches_.size()));
}

bool FindBar::findNext() {
  recount();
  if (matches_.isEmpty()) return false;
  const int caret = editor_->textCursor().selectionEnd();
  int start = matches_.first();  // wraps around
  for (int at : matches_) {
    if (at >= caret) {
      start = at;
      break;
    }
  }
  QTextCursor cursor = editor_->textCursor();
  cursor.setPosition(start);
  cursor.setPosition(start + int(pattern_->text().size()),
                     QTextCursor::KeepAnchor);
  editor_->setTextCursor(cursor);
  return true;
}

bool FindBar::findPrevious() {
  recount();
  if (matches_.isEmpty()) return false;
  const int caret = editor_->textCursor().selectionStart();
  int start = matches_.last();  // wraps around
  for (auto it = matches_.crbegin(); it != matches_.crend(); ++it) {
    if (*it < caret) {
      start = *it;
      break;
    }
  }
  QTextCursor cursor = editor_->textCursor();
  cursor.setPosition(start);
  cursor.setPosition(start + int(pattern_->text().size()),
                     QTextCursor::KeepAnchor);
  editor_->setTextCursor(cursor);
  return true;
}

bool FindBar::selectionIsMatch() const {
  const QTextCursor cursor = editor_->textCursor();
  return cursor.hasSelection() &&
         cursor.selectionEnd() - cursor.selectionStart() ==
             pattern_->text().size() &&
         matches_.contains(cursor.selectionStart());
}

void FindBar::replaceCurrent() {
  if (editor_->isReadOnly()) return;
  recount();
  if (selectionIsMatch()) {
    editor_->textCursor().insertText(replacement_->text());
    recount();
  }
  findNext();
}

int FindBar::replaceAll() {
  if (editor_->isReadOnly()) return 0;
  recount();
  const QList<int> starts = matches_;
  if (starts.isEmpty()) return 0;
  const int length = int(pattern_->text().size());
  QTextCursor cursor(editor_->document());
  cursor.beginEditBlock();
  // From the last match back, so earlier positions stay valid.
  for (auto it = starts.crbegin(); it != starts.crend(); ++it) {
    cursor.setPosition(*it);
    cursor.setPosition(*it + length, QTextCursor::KeepAnchor);
    cursor.insertText(replacement_->text());
  }
  cursor.endEditBlock();
  recount();
  count_->setText(QStringLiteral("Заменено: %1").arg(starts.size()));
  return int(starts.size());
}

void FindBar::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    hide();
    editor_->setFocus();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace tesmora::app

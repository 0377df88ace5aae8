#include "app/Editor.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStringListModel>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

#include "app/BuiltinCatalogue.h"
#include "app/EditorFont.h"
#include "app/LanguageHighlighter.h"
#include "app/TextBridge.h"
#include "app/WordBounds.h"

namespace tesmora::app {

class LineNumberArea : public QWidget {
 public:
  explicit LineNumberArea(Editor* editor) : QWidget(editor), editor_(editor) {}
  QSize sizeHint() const override { return {editor_->lineNumberWidth(), 0}; }

 protected:
  void paintEvent(QPaintEvent* event) override {
    editor_->paintLineNumbers(event);
  }

 private:
  Editor* editor_;
};

namespace {

bool isNameCharacter(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// The bracket pairs of the language.
constexpr char16_t kOpening[] = u"([{";
constexpr char16_t kClosing[] = u")]}";

QColor blend(const QColor& a, const QColor& b, qreal share) {
  return QColor::fromRgbF(a.redF() * (1 - share) + b.redF() * share,
                          a.greenF() * (1 - share) + b.greenF() * share,
                          a.blueF() * (1 - share) + b.blueF() * share);
}

}  // namespace

Editor::Editor(QWidget* parent)
    : QPlainTextEdit(parent),
      fontIndex_(kInitialFontIndex),
      lineNumbers_(new LineNumberArea(this)),
      highlighter_(new LanguageHighlighter(document())),
      completer_(new QCompleter(this)),
      completionModel_(new QStringListModel(this)) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  highlighter_->setPalette(palette());
  applyFont();
  applyMargins();

  completionModel_->setStringList(BuiltinCatalogue::instance().names());
  completer_->setModel(completionModel_);
  completer_->setWidget(this);
  completer_->setCaseSensitivity(Qt::CaseSensitive);
  completer_->setCompletionMode(QCompleter::PopupCompletion);
  connect(completer_, qOverload<const QString&>(&QCompleter::activated), this,
          &Editor::insertCompletion);

  connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
    emit caretLineChanged(caretLine());
    findMatchingBracket();
    updateExtraSelections();
  });
  connect(this, &QPlainTextEdit::blockCountChanged, this,
          [this] { applyMargins(); });
  connect(this, &QPlainTextEdit::updateRequest, this,
          [this](const QRect& rect, int dy) {
            if (dy != 0) lineNumbers_->scroll(0, dy);
            else lineNumbers_->update(0, rect.y(), lineNumbers_->width(),
                                      rect.height());
          });
  connect(document(), &QTextDocument::contentsChanged, this, [this] {
    if (errorPosition_ < 0) return;
    errorPosition_ = -1;
    updateExtraSelections();
  });
  // The program's own function names are gathered when typing pauses.
  auto* functionsTimer = new QTimer(this);
  functionsTimer->setSingleShot(true);
  functionsTimer->setInterval(300);
  connect(functionsTimer, &QTimer::timeout, this, &Editor::refreshUserFunctions);
  connect(document(), &QTextDocument::contentsChanged, functionsTimer,
          qOverload<>(&QTimer::start));
  updateExtraSelections();
}

Editor::~Editor() = default;

void Editor::setFontIndex(int index) {
  index = std::clamp(index, 0, lastFontIndex());
  if (index == fontIndex_) return;
  fontIndex_ = index;
  applyFont();
  emit fontIndexChanged(fontIndex_);
}

void Editor::applyFont() {
  const QFont font = editorFont(fontIndex_);
  setFont(font);
  lineNumbers_->setFont(font);
  setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) *
                     kTabStopCharacters);
  applyMargins();
}

int Editor::lineNumberWidth() const {
  int digits = 1;
  for (int lines = std::max(1, blockCount()); lines >= 10; lines /= 10)
    ++digits;
  digits = std::max(digits, 2);
  return fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits + 8;
}

void Editor::applyMargins() {
  // The margins lie outside the viewport; the editor paints them in the
  // text's background colour, and shows the arrow cursor over them (the
  // viewport keeps the text cursor). The gutter sits left of the margin.
  document()->setDocumentMargin(0);
  setViewportMargins(lineNumberWidth() + kLeftMargin, 0, kRightMargin, 0);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
  const QRect inside = contentsRect();
  lineNumbers_->setGeometry(inside.left(), inside.top(), lineNumberWidth(),
                            inside.height());
}

void Editor::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  applyMargins();
}

void Editor::changeEvent(QEvent* event) {
  QPlainTextEdit::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) {
    highlighter_->setPalette(palette());
    updateExtraSelections();
  }
}

void Editor::paintLineNumbers(QPaintEvent* event) {
  QPainter painter(lineNumbers_);
  const QPalette& colours = palette();
  const QColor background =
      blend(colours.color(QPalette::Base), colours.color(QPalette::Text), 0.06);
  painter.fillRect(event->rect(), background);
  const QColor number =
      blend(colours.color(QPalette::Base), colours.color(QPalette::Text), 0.45);
  const int current = textCursor().blockNumber();

  QTextBlock block = firstVisibleBlock();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  while (block.isValid() && top <= event->rect().bottom()) {
    const int height = qRound(blockBoundingRect(block).height());
    if (block.isVisible() && top + height >= event->rect().top()) {
      painter.setPen(block.blockNumber() == current
                         ? colours.color(QPalette::Text)
                         : number);
      painter.drawText(0, top, lineNumbers_->width() - 4, height,
                       Qt::AlignRight | Qt::AlignVCenter,
                       QString::number(block.blockNumber() + 1));
    }
    top += height;
    block = block.next();
  }
}

void Editor::updateExtraSelections() {
  QList<QTextEdit::ExtraSelection> extras;
  const QPalette& colours = palette();
  const bool dark = isDarkPalette(colours);

  QTextEdit::ExtraSelection line;
  line.format.setBackground(blend(colours.color(QPalette::Base),
                                  colours.color(QPalette::Highlight),
                                  dark ? 0.22 : 0.10));
  line.format.setProperty(QTextFormat::FullWidthSelection, true);
  line.cursor = textCursor();
  line.cursor.clearSelection();
  extras.append(line);

  for (int position : {brackets_.first, brackets_.second}) {
    if (position < 0) continue;
    QTextEdit::ExtraSelection bracket;
    bracket.format.setBackground(dark ? QColor(0x3d, 0x6e, 0x4a)
                                      : QColor(0xb4, 0xe6, 0xb4));
    bracket.format.setFontWeight(QFont::Bold);
    bracket.cursor = QTextCursor(document());
    bracket.cursor.setPosition(position);
    bracket.cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
    extras.append(bracket);
  }

  if (errorPosition_ >= 0) {
    QTextEdit::ExtraSelection error;
    error.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    error.format.setUnderlineColor(dark ? QColor(0xff, 0x6b, 0x6b)
                                        : QColor(0xd0, 0x00, 0x00));
    error.cursor = QTextCursor(document());
    const int last = std::max(0, document()->characterCount() - 1);
    const int at = std::clamp(errorPosition_, 0, last);
    // The mark covers the character before the error position (the end of
    // the token the error was found after), or the one at it.
    const int from = at > 0 ? at - 1 : at;
    error.cursor.setPosition(from);
    error.cursor.setPosition(std::min(last, from + 1), QTextCursor::KeepAnchor);
    extras.append(error);
  }
  setExtraSelections(extras);
}

void Editor::findMatchingBracket() {
  brackets_ = {-1, -1};
  const QString all = document()->toRawText();
  const int caret = textCursor().position();
  // The bracket right of the caret, else the one left of it.
  for (int at : {caret, caret - 1}) {
    if (at < 0 || at >= all.size()) continue;
    const QChar c = all[at];
    const int open = int(QStringView(kOpening).indexOf(c));
    const int close = int(QStringView(kClosing).indexOf(c));
    if (open < 0 && close < 0) continue;
    const bool forward = open >= 0;
    const QChar self = c;
    const QChar partner = forward ? QChar(kClosing[open]) : QChar(kOpening[close]);
    int depth = 0;
    for (int i = at; i >= 0 && i < all.size(); i += forward ? 1 : -1) {
      if (all[i] == self) ++depth;
      else if (all[i] == partner && --depth == 0) {
        brackets_ = {at, i};
        return;
      }
    }
    brackets_ = {at, -1};
    return;
  }
}

void Editor::markError(int position) {
  errorPosition_ = position;
  updateExtraSelections();
}

QString Editor::text() const { return editorText(document()->toRawText()); }

QString Editor::selectedText() const {
  return editorText(textCursor().selectedText());
}

int Editor::selectionStart() const { return textCursor().selectionStart(); }

bool Editor::hasSelection() const { return textCursor().hasSelection(); }

void Editor::placeCaret(int position) {
  QTextCursor cursor = textCursor();
  const int last = std::max(0, document()->characterCount() - 1);
  cursor.setPosition(std::clamp(position, 0, last));
  setTextCursor(cursor);
  ensureCursorVisible();
}

int Editor::caretLine() const { return textCursor().blockNumber() + 1; }

void Editor::goToLine(int line) {
  const QTextBlock block = document()->findBlockByNumber(
      std::clamp(line, 1, blockCount()) - 1);
  placeCaret(block.position());
  centerCursor();
}

void Editor::selectWordAt(int position) {
  const int last = std::max(0, document()->characterCount() - 1);
  const QTextBlock block = document()->findBlock(std::clamp(position, 0, last));
  // A line end always ends a word, so the line's own text is enough.
  const WordBounds word =
      wordAround(block.text(), position - block.position());
  QTextCursor cursor(document());
  cursor.setPosition(block.position() + word.start);
  cursor.setPosition(block.position() + word.end, QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

void Editor::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    return;
  }
  selectWordAt(cursorForPosition(event->position().toPoint()).position());
  event->accept();
}

QString Editor::wordBeforeCaret() const {
  const QTextCursor cursor = textCursor();
  const QString line = cursor.block().text();
  int start = cursor.positionInBlock();
  while (start > 0 && isNameCharacter(line[start - 1])) --start;
  return line.mid(start, cursor.positionInBlock() - start);
}

void Editor::complete() {
  const QString prefix = wordBeforeCaret();
  completer_->setCompletionPrefix(prefix);
  if (completer_->completionCount() == 0) {
    completer_->popup()->hide();
    return;
  }
  completer_->popup()->setCurrentIndex(
      completer_->completionModel()->index(0, 0));
  QRect rect = cursorRect();
  rect.setWidth(completer_->popup()->sizeHintForColumn(0) +
                completer_->popup()->verticalScrollBar()->sizeHint().width());
  completer_->complete(rect);
}

void Editor::insertCompletion(const QString& name) {
  QTextCursor cursor = textCursor();
  const int typed = int(wordBeforeCaret().size());
  cursor.insertText(name.mid(typed));
  setTextCursor(cursor);
  showCallTipFor(name);
}

void Editor::showCallTipFor(const QString& name) {
  const QString tip = BuiltinCatalogue::instance().signature(name);
  if (tip.isEmpty()) return;
  callTip_ = tip;
  QToolTip::showText(viewport()->mapToGlobal(cursorRect().bottomLeft()), tip,
                     viewport());
}

void Editor::refreshUserFunctions() {
  const QSet<QString> names = definedFunctionNames(text());
  highlighter_->setUserFunctions(names);
  QStringList words = BuiltinCatalogue::instance().names();
  for (const QString& name : names)
    if (!words.contains(name)) words << name;
  words.sort(Qt::CaseInsensitive);
  if (words != completionModel_->stringList())
    completionModel_->setStringList(words);
}

void Editor::keyPressEvent(QKeyEvent* event) {
  QAbstractItemView* popup = completer_->popup();
  if (popup->isVisible()) {
    switch (event->key()) {
      case Qt::Key_Enter:
      case Qt::Key_Return:
      case Qt::Key_Tab:
        insertCompletion(popup->currentIndex().data().toString());
        popup->hide();
        return;
      case Qt::Key_Escape:
        popup->hide();
        return;
      default:
        break;
    }
  }
  if (event->key() == Qt::Key_Space &&
      event->modifiers().testFlag(Qt::ControlModifier)) {
    complete();
    return;
  }

  const QString name = wordBeforeCaret();
  QPlainTextEdit::keyPressEvent(event);
  if (isReadOnly()) return;

  const QString typed = event->text();
  if (typed == QLatin1String("(")) {
    popup->hide();
    showCallTipFor(name);
    return;
  }
  if (typed == QLatin1String(")")) {
    callTip_.clear();
    QToolTip::hideText();
  }
  const bool nameKey = !typed.isEmpty() && isNameCharacter(typed.front());
  const QString prefix = wordBeforeCaret();
  if ((nameKey || popup->isVisible()) && prefix.size() >= kCompletionPrefix &&
      !prefix.front().isDigit()) {
    complete();
  } else {
    popup->hide();
  }
}

bool Editor::canInsertFromMimeData(const QMimeData* source) const {
  return source != nullptr && source->hasText();
}

void Editor::insertFromMimeData(const QMimeData* source) {
  if (!canInsertFromMimeData(source)) return;
  textCursor().insertText(source->text());
  ensureCursorVisible();
}

}  // namespace tesmora::app

#include "app/HelpBrowser.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "help/HelpMarkdown.h"

namespace tesmora::app {

namespace {

constexpr int kKindRole = Qt::UserRole;      // "entry" or "page"
constexpr int kKeyRole = Qt::UserRole + 1;   // the entry's name or the page's file
constexpr int kHistoryLimit = 100;
constexpr const char* kErrorsPage = "guide/errors.md";
const QString kCopyCaption = QStringLiteral("Вставить пример в редактор");

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }
std::string toUtf8(const QString& text) { return text.toUtf8().toStdString(); }

QString entryLink(const std::string& name) {
  return QStringLiteral("[%1](%2:%1)").arg(fromUtf8(name), QLatin1String(HelpBrowser::kEntryScheme));
}

}  // namespace

HelpBrowser::HelpBrowser(const help::HelpLibrary& library, QWidget* parent)
    : QWidget(parent),
      library_(&library),
      search_(new QLineEdit),
      index_(new QListWidget),
      view_(new QTextBrowser),
      back_(new QToolButton) {
  search_->setObjectName(QStringLiteral("helpSearch"));
  search_->setPlaceholderText(QStringLiteral("Поиск по справке"));
  search_->setClearButtonEnabled(true);
  index_->setObjectName(QStringLiteral("helpIndex"));
  view_->setObjectName(QStringLiteral("helpView"));
  // Links are ours to follow: entries, examples, pages of the guide.
  view_->setOpenLinks(false);
  back_->setText(QStringLiteral("Назад"));
  back_->setEnabled(false);

  auto* top = new QHBoxLayout;
  top->setContentsMargins(0, 0, 0, 0);
  top->addWidget(back_);
  top->addWidget(search_, 1);
  auto* left = new QWidget;
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  leftLayout->addLayout(top);
  leftLayout->addWidget(index_, 1);
  auto* splitter = new QSplitter(Qt::Horizontal);
  splitter->addWidget(left);
  splitter->addWidget(view_);
  splitter->setStretchFactor(1, 3);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(splitter);

  connect(view_, &QTextBrowser::anchorClicked, this, &HelpBrowser::openLink);
  connect(index_, &QListWidget::itemActivated, this, &HelpBrowser::openIndexItem);
  connect(index_, &QListWidget::itemClicked, this, &HelpBrowser::openIndexItem);
  connect(search_, &QLineEdit::textEdited, this, [this](const QString& text) {
    // Typing narrows the index; it is not a step to go back to.
    const qsizetype steps = history_.size();
    showIndex(text);
    while (history_.size() > steps) history_.removeLast();
    back_->setEnabled(!history_.isEmpty());
  });
  connect(search_, &QLineEdit::returnPressed, this, [this] {
    if (index_->count() > 0) openIndexItem(index_->item(0));
  });
  connect(back_, &QToolButton::clicked, this, &HelpBrowser::goBack);
  showGuide();
  history_.clear();
  back_->setEnabled(false);
}

void HelpBrowser::setLibrary(const help::HelpLibrary& library) {
  library_ = &library;
  history_.clear();
  back_->setEnabled(false);
  showGuide();
}

bool HelpBrowser::showHelpFor(const QString& word) {
  if (library_->entry(toUtf8(word))) {
    setFilter(QString());
    return showEntry(word);
  }
  // A word of the language itself (if, for, function …) has its chapter.
  if (const help::HelpPage* page = library_->pageForKeyword(toUtf8(word))) {
    setFilter(QString());
    return showPage(fromUtf8(page->file));
  }
  showIndex(word);
  return false;
}

bool HelpBrowser::showEntry(const QString& name) {
  const help::HelpEntry* entry = library_->entry(toUtf8(name));
  if (!entry) return false;
  remember();
  currentEntry_ = name;
  currentPage_.clear();
  indexShown_ = false;
  fillIndex(search_->text());
  std::string markdown = entry->markdown;
  if (const help::HelpPage* family = library_->page(entry->file))
    markdown += "\n---\n\nРаздел: [" + family->title + "](" + kPageScheme + ":" +
                family->file + ")\n";
  showMarkdown(markdown);
  return true;
}

bool HelpBrowser::showPage(const QString& file) {
  const help::HelpPage* page = library_->page(toUtf8(file));
  if (!page) return false;
  remember();
  currentEntry_.clear();
  currentPage_ = file;
  indexShown_ = false;
  fillIndex(search_->text());
  showMarkdown(page->markdown);
  return true;
}

void HelpBrowser::showGuide() {
  setFilter(QString());
  if (!library_->guidePages().empty())
    showPage(fromUtf8(library_->guidePages().front().file));
  else
    showIndex();
}

void HelpBrowser::showErrorMessages() {
  setFilter(QString());
  if (!showPage(QLatin1String(kErrorsPage))) showGuide();
}

void HelpBrowser::showIndex(const QString& filter) {
  remember();
  currentEntry_.clear();
  currentPage_.clear();
  currentFilter_ = filter;
  indexShown_ = true;
  setFilter(filter);

  std::string text;
  const std::string wanted = toUtf8(filter.trimmed());
  if (wanted.empty()) {
    text = "# Указатель\n\nСтатьи справки о каждом имени языка: функциях, методах "
           "законов, матриц и суперматриц, константах и цветах. Имя можно "
           "набрать в поле поиска или нажать F1 на слове в редакторе.\n\n";
    for (const help::HelpPage& page : library_->guidePages())
      text += "- [" + page.title + "](" + kPageScheme + ":" + page.file + ")\n";
    text += "\n";
  } else {
    text = "# Поиск: " + wanted + "\n\n";
  }
  const std::vector<const help::HelpEntry*> found = library_->search(wanted);
  if (found.empty()) {
    text += wanted.empty() ? "В справке пока нет статей о функциях.\n"
                           : "Статьи о «" + wanted + "» в справке нет.\n";
    const std::vector<std::string> close = library_->closeNames(wanted);
    if (!close.empty()) {
      text += "\nПохожие имена:";
      for (const std::string& name : close) text += " " + toUtf8(entryLink(name));
      text += "\n";
    }
  } else {
    std::string line;
    for (const help::HelpEntry* entry : found) {
      if (!line.empty()) line += " · ";
      line += toUtf8(entryLink(entry->name));
    }
    text += line + "\n";
  }
  showMarkdown(text);
}

QString HelpBrowser::filterText() const { return search_->text(); }

QStringList HelpBrowser::indexNames() const {
  QStringList names;
  for (int row = 0; row < index_->count(); ++row)
    if (index_->item(row)->data(kKindRole).toString() == QLatin1String("entry"))
      names.append(index_->item(row)->data(kKeyRole).toString());
  return names;
}

void HelpBrowser::openLink(const QUrl& url) {
  const QString scheme = url.scheme();
  if (scheme == QLatin1String(kExampleScheme)) {
    bool ok = false;
    const int number = url.path().toInt(&ok);
    if (ok && number >= 0 && number < int(examples_.size()))
      emit exampleRequested(fromUtf8(examples_[std::size_t(number)]));
    return;
  }
  if (scheme == QLatin1String(kEntryScheme)) {
    showHelpFor(url.path());
    return;
  }
  if (scheme == QLatin1String(kPageScheme)) {
    showPage(url.path());
    return;
  }
  if (!scheme.isEmpty()) {
    QDesktopServices::openUrl(url);
    return;
  }
  // A link written in a documentation file, relative to that file.
  std::string from;
  if (const help::HelpEntry* entry = library_->entry(toUtf8(currentEntry_)))
    from = entry->file;
  else
    from = toUtf8(currentPage_);
  const auto target = library_->resolve(from, toUtf8(url.toString()));
  if (!target) return;
  if (target->kind == help::HelpTarget::Kind::Entry)
    showEntry(fromUtf8(target->key));
  else
    showPage(fromUtf8(target->key));
}

void HelpBrowser::goBack() {
  if (history_.isEmpty()) return;
  const Place place = history_.takeLast();
  // Showing it remembers the place we leave; going back is no new step.
  const qsizetype steps = history_.size();
  showPlace(place);
  while (history_.size() > steps) history_.removeLast();
  back_->setEnabled(!history_.isEmpty());
}

void HelpBrowser::showPlace(const Place& place) {
  if (!place.entry.isEmpty() && showEntry(place.entry)) return;
  if (!place.page.isEmpty() && showPage(place.page)) return;
  showIndex(place.filter);
}

void HelpBrowser::remember() {
  if (currentEntry_.isEmpty() && currentPage_.isEmpty() && !indexShown_) return;
  history_.append(Place{currentEntry_, currentPage_, indexShown_ ? currentFilter_ : QString()});
  while (history_.size() > kHistoryLimit) history_.removeFirst();
  back_->setEnabled(true);
}

void HelpBrowser::fillIndex(const QString& filter) {
  index_->clear();
  const std::string wanted = toUtf8(filter.trimmed());
  if (wanted.empty()) {
    // The guide's chapters in bold, the reference's families in italics,
    // then every name.
    const auto addPages = [this](const std::vector<help::HelpPage>& pages, bool bold) {
      for (const help::HelpPage& page : pages) {
        auto* item = new QListWidgetItem(fromUtf8(page.title), index_);
        item->setData(kKindRole, QStringLiteral("page"));
        item->setData(kKeyRole, fromUtf8(page.file));
        QFont font = item->font();
        font.setBold(bold);
        font.setItalic(!bold);
        item->setFont(font);
        if (fromUtf8(page.file) == currentPage_) index_->setCurrentItem(item);
      }
    };
    addPages(library_->guidePages(), true);
    addPages(library_->referencePages(), false);
  }
  for (const help::HelpEntry* entry : library_->search(wanted)) {
    auto* item = new QListWidgetItem(fromUtf8(entry->name), index_);
    item->setData(kKindRole, QStringLiteral("entry"));
    item->setData(kKeyRole, fromUtf8(entry->name));
    if (fromUtf8(entry->name) == currentEntry_) index_->setCurrentItem(item);
  }
}

void HelpBrowser::setFilter(const QString& filter) {
  if (search_->text() != filter) search_->setText(filter);
  fillIndex(filter);
}

void HelpBrowser::openIndexItem(QListWidgetItem* item) {
  if (!item) return;
  const QString key = item->data(kKeyRole).toString();
  if (item->data(kKindRole).toString() == QLatin1String("page"))
    showPage(key);
  else
    showEntry(key);
}

void HelpBrowser::showMarkdown(const std::string& markdown) {
  help::LinkedExamples linked =
      help::withExampleLinks(markdown, kExampleScheme, toUtf8(kCopyCaption));
  examples_ = std::move(linked.examples);
  view_->setMarkdown(fromUtf8(linked.markdown));
  tintCodeBlocks();
}

void HelpBrowser::tintCodeBlocks() {
  // Programs, results and errors look alike as plain code; a tint per kind
  // tells them apart at a glance.
  const auto tint = [](const QString& language) -> QColor {
    if (language == QLatin1String("tesmora")) return QColor(0xEE, 0xF3, 0xFB);
    if (language == QLatin1String("result")) return QColor(0xEE, 0xF8, 0xEE);
    if (language == QLatin1String("error")) return QColor(0xFB, 0xEE, 0xEE);
    return QColor(0xF4, 0xF4, 0xF4);
  };
  QTextCursor cursor(view_->document());
  for (QTextBlock block = view_->document()->begin(); block.isValid(); block = block.next()) {
    const QTextBlockFormat format = block.blockFormat();
    if (!format.hasProperty(QTextFormat::BlockCodeFence)) continue;
    const QString language =
        format.stringProperty(QTextFormat::BlockCodeLanguage).section(QLatin1Char(' '), 0, 0);
    QTextBlockFormat tinted;
    tinted.setBackground(tint(language));
    cursor.setPosition(block.position());
    cursor.mergeBlockFormat(tinted);
  }
}

}  // namespace tesmora::app

// The help browser: the language guide and the reference of every builtin,
// compiled into the program. An index of names with a search field on the
// left, the page on the right; links between entries are followed, and
// under every example a link puts the example into the editor.
#pragma once

#include <QStringList>
#include <QWidget>

#include <string>
#include <vector>

#include "help/HelpLibrary.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTextBrowser;
class QToolButton;
class QUrl;

namespace tesmora::app {

class HelpBrowser : public QWidget {
  Q_OBJECT

 public:
  explicit HelpBrowser(const help::HelpLibrary& library, QWidget* parent = nullptr);

  // Another documentation set (the tests give their own).
  void setLibrary(const help::HelpLibrary& library);

  // Context help for a word: its entry when there is one, the guide's
  // chapter for a word of the language (if, for, function …), otherwise
  // the index filtered by the word. Returns whether help was found.
  bool showHelpFor(const QString& word);
  bool showEntry(const QString& name);
  bool showPage(const QString& file);
  // The index of the reference, filtered by `filter` (the search field).
  void showIndex(const QString& filter = QString());
  void showGuide();
  void showErrorMessages();

  // What is shown: the entry's name, or the page's file, or neither while
  // the index is shown.
  QString currentEntry() const { return currentEntry_; }
  QString currentPage() const { return currentPage_; }
  QString filterText() const;
  // The names the index list holds now, in order.
  QStringList indexNames() const;
  QTextBrowser* view() const { return view_; }

  static constexpr const char* kExampleScheme = "tesmora-example";
  static constexpr const char* kEntryScheme = "tesmora-entry";
  static constexpr const char* kPageScheme = "tesmora-page";

 public slots:
  // A link of the shown page: another entry or page, an example to copy,
  // or a web address (handed to the system).
  void openLink(const QUrl& url);
  void goBack();

 signals:
  // The user asked for this example text in the editor.
  void exampleRequested(const QString& text);

 private:
  struct Place {
    QString entry;
    QString page;
    QString filter;
  };

  void fillIndex(const QString& filter);
  void setFilter(const QString& filter);
  void tintCodeBlocks();
  void showMarkdown(const std::string& markdown);
  void remember();
  void openIndexItem(QListWidgetItem* item);
  void showPlace(const Place& place);

  const help::HelpLibrary* library_;
  QLineEdit* search_;
  QListWidget* index_;
  QTextBrowser* view_;
  QToolButton* back_;
  QString currentEntry_;
  QString currentPage_;
  QString currentFilter_;
  bool indexShown_ = false;
  std::vector<std::string> examples_;
  QList<Place> history_;
};

}  // namespace tesmora::app

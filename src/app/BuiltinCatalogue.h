// The builtin names as the editor offers them: for highlighting, for
// completion, and for the call tip that shows a builtin's arguments. The
// registry is the only source; a signature is read from the builtin's
// class name (SF_DD: two numbers give a number).
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace tesmora::app {

struct BuiltinInfo {
  QString name;
  // "sin(число) → число"; empty for constants and colours.
  QString signature;
  bool callable = false;
};

class BuiltinCatalogue {
 public:
  // The registry's names (functions, constants, colours, methods), each
  // once.
  static const BuiltinCatalogue& instance();

  const QStringList& names() const { return names_; }
  bool contains(const QString& name) const { return byName_.contains(name); }
  // The call tip of a builtin function, or empty.
  QString signature(const QString& name) const;

  // The readable signature of a registry class name, or empty when the
  // class is not a function family the name encodes.
  static QString signatureOf(const QString& name, const QString& className);

 private:
  BuiltinCatalogue();
  QStringList names_;
  QHash<QString, BuiltinInfo> byName_;
};

}  // namespace tesmora::app

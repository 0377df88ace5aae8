#include "app/BuiltinCatalogue.h"

#include <QStringView>

#include "builtins/Registry.h"

namespace tesmora::app {

namespace {

struct Letter {
  const char16_t* code;
  const char16_t* word;
};

// The argument letters of the family class names, longest first so that
// "Super" is not read as "S…".
constexpr Letter kLetters[] = {
    {u"Super", u"суперматрица"}, {u"Sup", u"суперматрица"},
    {u"Str", u"строка"},         {u"D", u"число"},
    {u"M", u"матрица"},          {u"L", u"закон"},
    {u"F", u"функция"},          {u"N", u"значение"},
    {u"O", u"значение"},
};

// The argument words of `letters`; false when a letter is unknown. "_"
// makes the arguments after it optional; a trailing "0" makes the last one
// optional (it defaults to zero).
bool argumentWords(QStringView letters, QStringList& words) {
  int optionalFrom = -1;
  while (!letters.isEmpty()) {
    if (letters.front() == u'_') {
      optionalFrom = int(words.size());
      letters = letters.mid(1);
      continue;
    }
    if (letters.front() == u'0') {
      if (words.isEmpty()) return false;
      words.last() = QLatin1Char('[') + words.last() + QLatin1Char(']');
      letters = letters.mid(1);
      continue;
    }
    bool matched = false;
    for (const Letter& letter : kLetters) {
      const QStringView code(letter.code);
      if (letters.startsWith(code)) {
        words << QString::fromUtf16(letter.word);
        letters = letters.mid(code.size());
        matched = true;
        break;
      }
    }
    if (!matched) return false;
  }
  if (optionalFrom >= 0) {
    for (qsizetype i = optionalFrom; i < words.size(); ++i)
      words[i] = QLatin1Char('[') + words[i] + QLatin1Char(']');
  }
  return true;
}

}  // namespace

QString BuiltinCatalogue::signatureOf(const QString& name,
                                      const QString& className) {
  QString result;
  QStringView letters;
  if (className.startsWith(QLatin1String("SF_"))) {
    result = QStringLiteral("число");
    letters = QStringView(className).mid(3);
  } else if (className.startsWith(QLatin1String("FunctionO_"))) {
    result = QStringLiteral("значение");
    letters = QStringView(className).mid(10);
  } else if (className == QLatin1String("COFunc") ||
             className == QLatin1String("Subroutine")) {
    return name + QStringLiteral("(…)");
  } else {
    return {};
  }
  QStringList words;
  if (!argumentWords(letters, words)) return name + QStringLiteral("(…)");
  return QStringLiteral("%1(%2) → %3")
      .arg(name, words.join(QStringLiteral(", ")), result);
}

BuiltinCatalogue::BuiltinCatalogue() {
  for (const RegistryName& entry : registryOrder()) {
    const QString name = QString::fromUtf8(entry.name);
    if (byName_.contains(name)) continue;
    BuiltinInfo info;
    info.name = name;
    if (const BuiltinRow* row = findBuiltin(entry.name, entry.category)) {
      info.signature = signatureOf(name, QString::fromUtf8(row->className));
      info.callable = !info.signature.isEmpty();
    }
    byName_.insert(name, info);
    names_ << name;
  }
  names_.sort(Qt::CaseInsensitive);
}

const BuiltinCatalogue& BuiltinCatalogue::instance() {
  static const BuiltinCatalogue catalogue;
  return catalogue;
}

QString BuiltinCatalogue::signature(const QString& name) const {
  const auto it = byName_.constFind(name);
  return it == byName_.constEnd() ? QString() : it->signature;
}

}  // namespace tesmora::app

#include "app/TextBridge.h"

#include "text/Cp1251.h"

namespace tesmora::app {

QString fromCp1251(std::string_view text) {
  QString utf16 = QString::fromStdString(cp1251ToUtf8(text));
  utf16.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return utf16;
}

Cp1251Text toCp1251CrLf(const QString& editorText) {
  Cp1251Text result;
  const QByteArray utf8 = editorText.toUtf8();
  std::string converted;
  std::size_t badOffset = 0;
  if (!utf8ToCp1251(std::string_view(utf8.constData(), utf8.size()), converted,
                    &badOffset)) {
    result.ok = false;
    // The editor position of the bad character is the count of UTF-16
    // units before it; one character is taken from there.
    result.badPosition = static_cast<int>(
        QString::fromUtf8(utf8.constData(), static_cast<qsizetype>(badOffset))
            .size());
    const qsizetype width =
        editorText.at(result.badPosition).isHighSurrogate() ? 2 : 1;
    result.badCharacter = editorText.mid(result.badPosition, width);
    return result;
  }
  result.bytes = toCrLf(converted);
  return result;
}

QString editorText(const QString& rawText) {
  QString text = rawText;
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  return text;
}

int editorPositionOf(std::string_view runText, std::size_t offset) {
  if (offset > runText.size()) offset = runText.size();
  std::size_t pairs = 0;
  for (std::size_t i = 0; i < offset; ++i) {
    if (runText[i] == '\r' && i + 1 < runText.size() && runText[i + 1] == '\n')
      ++pairs;
  }
  return static_cast<int>(offset - pairs);
}

}  // namespace tesmora::app

#include "io/QuoteBase.h"

#include <filesystem>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "interp/Errors.h"
#include "interp/Host.h"
#include "io/DataFile.h"
#include "io/TextFile.h"
#include "text/Cp1251.h"
#include "values/Matrix.h"
#include "values/SuperMatrix.h"

namespace tesmora {
namespace {

constexpr std::string_view kQuotesHeader = "TICKER,DATE,OPEN,HIGH,LOW,CLOSE,VOL,WAPRICE";
// What follows the date of a day without quotes.
constexpr std::string_view kEmptyQuotes = ",,,,,,";

std::string uppercase(std::string_view text) {
  std::string upper(text);
  for (char& ch : upper) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  }
  return upper;
}

// Tickers in order of first appearance with their counts.
struct TickerCounts {
  std::vector<std::string> tickers;
  std::vector<double> counts;
  std::unordered_map<std::string, std::size_t> indexOf;

  void add(const std::string& ticker) {
    const auto [place, isNew] = indexOf.try_emplace(ticker, tickers.size());
    if (isNew) {
      tickers.push_back(ticker);
      counts.push_back(0);
    }
    counts[place->second] += 1;
  }
};

ValuePtr countsTable(TickerCounts& counts) {
  const int n = static_cast<int>(counts.tickers.size());
  auto names = CSuperMatrix::create(n, 1);
  auto numbers = Matrix::create(n, 1);
  for (int i = 0; i < n; ++i) {
    names->setCell(i, std::make_unique<String>(std::move(counts.tickers[i])));
    (*numbers)[i] = counts.counts[i];
  }
  auto table = CSuperMatrix::create(1, 2);
  table->setCell(0, std::move(names));
  table->setCell(1, std::move(numbers));
  return table;
}

std::string tickerFileName(const std::string& directory, const std::string& ticker) {
  return directory + "/" + ticker + ".txt";
}

}  // namespace

ValuePtr tickerFrequencies(const std::string& name, Host& host) {
  const std::vector<std::string> lines = readDataLines(name, "tickerfr: ошибка чтения файла");
  if (lines.empty() || uppercase(lines[0]) != kQuotesHeader) {
    raise("tickerfr: непостустимый заголовок файла");
  }
  TickerCounts counts;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const std::size_t comma = line.find(',');
    if (comma == std::string::npos) {
      host.messageBox({BoxKind::Msg, "tickerfr", lines[i - 1], "OK", ""});
      raise("tickerfr: в считанной строке нет запятых");
    }
    const std::size_t second = line.find(',', comma + 1);
    if (second == std::string::npos) raise("tickerfr: в считанной строке мало запятых");
    const std::string ticker = line.substr(0, comma);
    if (std::string_view(line).substr(second) == kEmptyQuotes || ticker == "TICKER") continue;
    counts.add(ticker);
  }
  return countsTable(counts);
}

void splitQuoteBase(const std::string& list, const std::string& base,
                    const std::string& directory) {
  const std::vector<std::string> tickers = readDataLines(list, "splitbase: ошибка чтения файла");
  const std::vector<std::string> quotes = readDataLines(base, "splitbase: ошибка чтения файла");
  std::error_code ignored;
  std::filesystem::create_directory(nativeFileName(directory), ignored);

  // Every listed ticker gets its file with the header at once; its quote
  // lines are gathered and the file is written again in full at the end, so
  // that a long list never needs more than one open file. A ticker listed
  // twice shares its file.
  std::unordered_map<std::string, std::string> linesOf;
  std::vector<const std::string*> order;
  for (const std::string& ticker : tickers) {
    if (!linesOf.try_emplace(ticker).second) continue;
    order.push_back(&ticker);
    TextFile file;
    if (!file.create(tickerFileName(directory, ticker), [&](int) { raiseCannotOpen(ticker); })) {
      raiseCannotOpen(ticker);
    }
    file.write(std::string(kQuotesHeader) + "\n");
    file.close();
  }
  for (const std::string& line : quotes) {
    if (line.empty()) continue;
    const std::size_t comma = line.find(',');
    if (comma == std::string::npos) raise("splitbase: в считанной строке нет запятых");
    const auto place = linesOf.find(line.substr(0, comma));
    if (place == linesOf.end()) continue;
    place->second += line;
    place->second += '\n';
  }
  for (const std::string* ticker : order) {
    const std::string& gathered = linesOf[*ticker];
    if (gathered.empty()) continue;
    TextFile file;
    if (!file.create(tickerFileName(directory, *ticker), [&](int) { raiseCannotOpen(*ticker); })) {
      raiseCannotOpen(*ticker);
    }
    file.write(std::string(kQuotesHeader) + "\n" + gathered);
    file.close();
  }
}

}  // namespace tesmora

// Day numbers, number conversion, header parsing and line splitting of the
// data-file loaders, the quotes counter on a file far larger than a fixed
// table of tickers would hold, and the output directories of the exports.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "ScriptedHost.h"
#include "interp/Errors.h"
#include "io/DataFile.h"
#include "io/Dates.h"
#include "io/FileSystem.h"
#include "io/QuoteBase.h"
#include "text/Cp1251.h"
#include "values/Matrix.h"
#include "values/SuperMatrix.h"

namespace tesmora {
namespace {

TEST(DayNumbers, CountDaysSinceTheLastDaysOf1899) {
  EXPECT_EQ(calendarDayNumber(1899, 12, 30), 0);
  EXPECT_EQ(calendarDayNumber(1900, 1, 1), 2);
  EXPECT_EQ(calendarDayNumber(1900, 3, 1), 61);  // 1900 has no 29 February
  EXPECT_EQ(calendarDayNumber(2020, 1, 2), 43832);
  EXPECT_EQ(calendarDayNumber(2000, 2, 29), 36585);
  EXPECT_EQ(calendarDayNumber(9999, 12, 31), 2958465);
  EXPECT_EQ(calendarDayNumber(100, 1, 1), -657434);
}

TEST(DayNumbers, DatesThatDoNotExistGiveMinusOne) {
  EXPECT_EQ(calendarDayNumber(1900, 2, 29), -1);
  EXPECT_EQ(calendarDayNumber(2100, 2, 29), -1);
  EXPECT_EQ(calendarDayNumber(2021, 4, 31), -1);
  EXPECT_EQ(calendarDayNumber(2021, 13, 1), -1);
  EXPECT_EQ(calendarDayNumber(2021, 0, 1), -1);
  EXPECT_EQ(calendarDayNumber(2021, 1, 0), -1);
  EXPECT_EQ(calendarDayNumber(99, 1, 1), -1);
  EXPECT_EQ(calendarDayNumber(10000, 1, 1), -1);
  EXPECT_EQ(calendarDayNumber(-1, -1, -1), -1);
}

TEST(DataNumbers, FollowTheCLibraryConversion) {
  double value = -1;
  EXPECT_TRUE(parseNumber("", value));
  EXPECT_EQ(value, 0);
  EXPECT_TRUE(parseNumber(" \t2.5", value));
  EXPECT_EQ(value, 2.5);
  EXPECT_TRUE(parseNumber("-1e3", value));
  EXPECT_EQ(value, -1000);
  EXPECT_TRUE(parseNumber("0x10", value));
  EXPECT_EQ(value, 16);
  EXPECT_FALSE(parseNumber("2.5 ", value));
  EXPECT_FALSE(parseNumber(" ", value));
  EXPECT_FALSE(parseNumber("2,5", value));
  EXPECT_FALSE(parseNumber("1e400", value));
  EXPECT_FALSE(parseNumber(std::string("1\0", 2), value));
}

TEST(DataLines, AFinalLineFeedEndsTheLastLine) {
  EXPECT_TRUE(splitLines("").empty());
  EXPECT_EQ(splitLines("a"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(splitLines("a\n"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(splitLines("a\n\nb\n\n"), (std::vector<std::string>{"a", "", "b", ""}));
  EXPECT_EQ(splitLines("\n"), (std::vector<std::string>{""}));
}

constexpr HeaderMessages kMessages{"missing quote", "text after quote"};

std::string messageOf(std::string_view header) {
  try {
    parseHeader(header, kMessages);
  } catch (const ScriptError& error) {
    return error.message;
  }
  return "";
}

TEST(TableHeaders, SplitQuotedFieldsAndFindTheLastMatch) {
  const TableHeader semicolon = parseHeader("\"A;B\";C;\"\";c", kMessages);
  EXPECT_TRUE(semicolon.semicolonStyle());
  EXPECT_EQ(semicolon.fields, (std::vector<std::string>{"a;b", "c", "", "c"}));
  EXPECT_EQ(semicolon.find("C"), 3);
  EXPECT_EQ(semicolon.find("A;b"), 0);
  EXPECT_EQ(semicolon.find(""), 2);
  EXPECT_EQ(semicolon.find("d"), -1);

  const TableHeader comma = parseHeader("x,,\"q\"\"r\",", kMessages);
  EXPECT_EQ(comma.separator, ',');
  EXPECT_EQ(comma.fields, (std::vector<std::string>{"x", "", "q\"\"r", ""}));

  const TableHeader russian = parseHeader(cp("ДАТА,ЁЖ,Mixed Ъ"), kMessages);
  EXPECT_EQ(russian.find(cp("дата")), 0);
  EXPECT_EQ(russian.find(cp("ёж")), 1);
  EXPECT_EQ(russian.find(cp("MIXED ъ")), 2);
}

TEST(TableHeaders, RefuseBrokenQuotes) {
  EXPECT_EQ(messageOf("\"abc"), "missing quote");
  EXPECT_EQ(messageOf("a,\"b"), "missing quote");
  EXPECT_EQ(messageOf("\"a\"b,c"), "text after quote");
  EXPECT_EQ(messageOf("\""), "missing quote");
  EXPECT_EQ(messageOf("\"\""), "");
}

class QuoteFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() /
                 ("tesmora_quotes_" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory_);
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }
  std::string path(const char* name) const { return (directory_ / name).string(); }

  std::filesystem::path directory_;
};

TEST_F(QuoteFiles, TickerCountsHaveNoFixedLimit) {
  constexpr int kTickers = 12000;
  {
    std::ofstream file(path("many.csv"), std::ios::binary);
    file << "TICKER,DATE,OPEN,HIGH,LOW,CLOSE,VOL,WAPRICE\r\n";
    for (int round = 0; round < 2; ++round) {
      for (int i = 0; i < kTickers; ++i) file << "T" << i << ",20200102,1,1,1,1,1,1\r\n";
    }
  }
  testing::ScriptedHost host;
  const ValuePtr result = tickerFrequencies(path("many.csv"), host);
  const auto& table = asSuper(*result);
  const auto& tickers = asSuper(*table.cell(0));
  const auto& counts = asMatrix(*table.cell(1));
  ASSERT_EQ(tickers.count(), kTickers);
  ASSERT_EQ(counts.count(), kTickers);
  EXPECT_EQ(static_cast<const String&>(*tickers.cell(kTickers - 1)).text, "T11999");
  for (int i = 0; i < kTickers; ++i) ASSERT_EQ(counts[i], 2);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(QuoteFiles, OutputDirectoriesMayExistAlready) {
  const std::string directory = path("out");
  createOutputDirectory(directory);
  createOutputDirectory(directory);
  EXPECT_TRUE(std::filesystem::is_directory(directory));
  std::ofstream(path("plain.txt")) << "x";
  EXPECT_NO_THROW(createOutputDirectory(path("plain.txt")));
  try {
    createOutputDirectory(path("missing/out"));
    FAIL() << "a directory under a missing one was created";
  } catch (const ScriptError& error) {
    EXPECT_EQ(error.message, "crdir: Path was not found");
  }
  EXPECT_FALSE(makeDirectory(directory));
  EXPECT_TRUE(removeDirectory(directory));
}

}  // namespace
}  // namespace tesmora

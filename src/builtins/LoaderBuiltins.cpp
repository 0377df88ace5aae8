// Builtins that read data files: number and text columns, table columns,
// daily series, whole texts and the quotes database.
#include "builtins/Rows.h"
#include "interp/Prog.h"
#include "io/Loaders.h"
#include "io/QuoteBase.h"

namespace tesmora {
namespace {

ValuePtr tickerFrequencyTable(Str name) { return tickerFrequencies(name, program().host); }

ValuePtr splitBase(Str list, Str base, Str directory) {
  splitQuoteBase(list, base, directory);
  return std::make_unique<Void>();
}

// The daily loaders of single exchanges gave way to loaddaily, which reads
// any of their files.
ValuePtr retiredDailyLoader(double, double, Str, Str) {
  raise("Функция устарела. Используйте loaddaily");
}

constexpr BuiltinRow kRows[] = {
    row<FunctionO_Str, loadWholeText>("loadtext"),
    row<FunctionO_Str, tickerFrequencyTable>("tickerfr"),
    row<FunctionO_StrStrStr, splitBase>("splitbase"),
    row<FunctionO_DDStrStr, retiredDailyLoader>("indexdaily"),
    row<FunctionO_DDStrStr, retiredDailyLoader>("forexdaily"),
    row<FunctionO_DDStrStr, retiredDailyLoader>("rts1daily"),
    row<FunctionO_DDStrStr, retiredDailyLoader>("micexdaily"),
    row<FunctionO_Str, loadNumberLines>("loadvector"),
    row<FunctionO_Str, loadTextLines>("loadtextvector"),
    row<FunctionO_DDStrStr, loadDailySeries>("loaddaily"),
    row<FunctionO_StrStr, loadTextColumn>("loadtextcol"),
    row<FunctionO_StrStr, loadNumberColumn>("loadnumcol"),
};

}  // namespace

std::span<const BuiltinRow> loaderBuiltins() { return kRows; }

}  // namespace tesmora

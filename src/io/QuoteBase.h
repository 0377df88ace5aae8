// The quotes database: a comma-separated file of daily quotes, one line per
// ticker and day under the header TICKER,DATE,OPEN,HIGH,LOW,CLOSE,VOL,WAPRICE.
#pragma once

#include <string>

#include "values/MatObject.h"

namespace tesmora {

class Host;

// The tickers of a quotes file in order of first appearance with the number
// of their quote lines: a 1 x 2 table of a string column and a number column.
// A line without a comma is shown to the user (the line before it, for
// orientation) and ends the reading with an error.
ValuePtr tickerFrequencies(const std::string& name, Host& host);

// Writes the quote lines of every ticker listed in `list` (one a line) from
// `base` into DIRECTORY/TICKER.txt, each under the quotes header. The
// directory is created when missing.
void splitQuoteBase(const std::string& list, const std::string& base,
                    const std::string& directory);

}  // namespace tesmora

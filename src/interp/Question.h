// The sections of a question after an R-statement: read from the raw text,
// with the listed variables' values put in place of their names.
#pragma once

#include "values/MatObject.h"

namespace tesmora {

class Scanner;
class CSuperMatrix;

// Reads the sections following the "<<" just scanned, up to the next
// "<<Question>>" or the end of the text, and returns the question: a
// table of (title, text) rows. `listed` is the R-statement's table of
// (name, value) rows. The scanner is left before "<<Question>>" or at the
// end of the text.
ValuePtr buildQuestion(Scanner& scanner, const CSuperMatrix& listed);

}  // namespace tesmora

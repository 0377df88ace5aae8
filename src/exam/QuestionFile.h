// The question file of a run: the LaTeX document that the questions of a
// program are written to, one after the other, through the output channel.
#pragma once

namespace tesmora {

class CSuperMatrix;

// Writes question `number` (a table of title and text rows) to the question
// file. Question 1 first opens the file on the document title + ".tex" and
// writes the preamble; the end of the run (or closeout/setout) finishes it.
void writeQuestion(const CSuperMatrix& question, int number);

}  // namespace tesmora

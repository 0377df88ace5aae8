// The exam papers built from an exam base (one item base per variant). Each
// writes its files into the output directory (the document title + "_out")
// and returns its summary text.
#pragma once

#include <string>

namespace tesmora {

class CSuperMatrix;

// Meta/k.tex and Meta0/k.tex per variant plus Meta/All.tex and
// Meta0/All.tex: every item, with (Meta) and without (Meta0) its name and
// Comment. One summary line per variant: "k. tagged = A + B".
std::string saveExamMeta(const CSuperMatrix& exam);

// AB/ka.tex and AB/kb.tex with the lists AB/Rka.txt and AB/Rkb.txt per
// variant: the A items to paper a, the B items to paper b (or also to paper
// a when `allToA`). The summary also goes to AB/Состав.txt.
std::string saveExamAB(const CSuperMatrix& exam, bool allToA);

// ka.tex and kb.tex per variant directly in the output directory, and the
// summary in Состав.txt there.
std::string exportExam(const CSuperMatrix& exam);

// Open.tex: the open items ("state=public") of every variant.
std::string saveExamOpen(const CSuperMatrix& exam);
// StDok.tex: the standard proofs ("class=D") of every variant.
std::string saveStDok(const CSuperMatrix& exam);

}  // namespace tesmora

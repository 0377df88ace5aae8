// The exam generator's builtins: reading item and exam bases back from
// question files, editing their Comment tags, and writing exam papers.
#include <string>

#include "builtins/Rows.h"
#include "exam/ExamBase.h"
#include "exam/ExamPapers.h"
#include "interp/Errors.h"
#include "values/SuperMatrix.h"

namespace tesmora {
namespace {

const std::string& textArgument(Args args, int index, const char* builtin,
                                const char* typeError) {
  if (args[index]->typeCode != kStringType) raiseAbout(builtin, typeError);
  return static_cast<const String*>(args[index])->text;
}

const CSuperMatrix& tableArgument(Args args, const char* builtin) {
  if (args[0]->typeCode != kSuperType) raiseAbout(builtin, "недопустимый тип аргумента 1");
  return asSuper(*args[0]);
}

void checkCount(int count, int least, int most, const char* builtin) {
  if (count < least) raiseAbout(builtin, "слишком мало аргументов");
  if (count > most) raiseAbout(builtin, "слишком много аргументов");
}

// The optional filter: the text every kept item's Comment contains.
std::string filterArgument(int count, Args args, const char* builtin) {
  if (count < 2) return {};
  return textArgument(args, 1, builtin, "недопустимый тип аргумента 2");
}

// LoadItemBase(files [, filter])
ValuePtr loadItemBaseCall(int count, Args args) {
  const char* builtin = "LoadItemBase";
  checkCount(count, 1, 2, builtin);
  const CSuperMatrix& files = tableArgument(args, builtin);
  return loadItemBase(files, filterArgument(count, args, builtin), builtin);
}

// LoadExamBase(lists [, filter])
ValuePtr loadExamBaseCall(int count, Args args) {
  const char* builtin = "LoadExamBase";
  checkCount(count, 1, 2, builtin);
  const CSuperMatrix& lists = tableArgument(args, builtin);
  return loadExamBase(lists, filterArgument(count, args, builtin));
}

// ReplaceExamInfo(exam, old, new): edits the exam base it is given.
ValuePtr replaceExamInfoCall(int count, Args args) {
  const char* builtin = "ReplaceExamInfo";
  checkCount(count, 3, 3, builtin);
  const CSuperMatrix& exam = tableArgument(args, builtin);
  const std::string& old = textArgument(args, 1, builtin, "недопустимый тип аргумента 2");
  const std::string& replacement =
      textArgument(args, 2, builtin, "недопустимый тип аргумента 3");
  replaceInComments(exam, old, replacement, builtin);
  return std::make_unique<String>("Ok");
}

template <std::string (*Paper)(const CSuperMatrix&)>
ValuePtr paperCall(Sup exam) {
  return std::make_unique<String>(Paper(exam));
}

std::string examAB(const CSuperMatrix& exam) { return saveExamAB(exam, false); }
std::string examAA(const CSuperMatrix& exam) { return saveExamAB(exam, true); }

constexpr BuiltinRow kRows[] = {
    row<COFunc, loadExamBaseCall>("LoadExamBase"),
    row<COFunc, loadItemBaseCall>("LoadItemBase"),
    row<FunctionO_Super, paperCall<saveExamMeta>>("SaveExamMeta"),
    row<FunctionO_Super, paperCall<examAB>>("SaveExamAB"),
    row<FunctionO_Super, paperCall<examAA>>("SaveExamAA"),
    row<FunctionO_Super, paperCall<saveExamOpen>>("SaveExamOpen"),
    row<FunctionO_Super, paperCall<saveStDok>>("SaveStDok"),
    row<FunctionO_Super, paperCall<exportExam>>("ExportExam"),
    row<COFunc, replaceExamInfoCall>("ReplaceExamInfo"),
};

}  // namespace

std::span<const BuiltinRow> examBuiltins() { return kRows; }

}  // namespace tesmora

// The builtin registry: every builtin function, constant, colour name and
// method enters the variable table once, at start-up, in one fixed order.
//
// Builtins are declared as rows of family tables (one table per family:
// number routines, matrix functions, tables, ...), each row giving the
// name, the method category, the class and the routine. The registry walks
// the language's ordered list of names and enters the row each name has.
#pragma once

#include <span>
#include <string_view>

#include "values/MatObject.h"

namespace tesmora {

class VariableTable;

struct BuiltinRow {
  const char* name;
  int category;            // 0, or the type code whose method this is
  const char* className;   // SF_D, FunctionO_M, COFunc, CColor, ...
  ValuePtr (*make)();
};

// The families; each lives in its own file.
std::span<const BuiltinRow> numberBuiltins();          // round, fmod, mod, powmod
std::span<const BuiltinRow> constantBuiltins();        // colours, pi, e, void, quote, newln
std::span<const BuiltinRow> runBuiltins();             // timer, setmaxdim
std::span<const BuiltinRow> elementaryBuiltins();      // sin ... pow, iff, assert, splus
std::span<const BuiltinRow> matrixFunctionBuiltins();  // dim ... det, chol, root, sint
std::span<const BuiltinRow> tableBuiltins();           // super, resize, rgb, w, c, r, contains
std::span<const BuiltinRow> sortBuiltins();            // sort, dsort, repl0, select, sselect
std::span<const BuiltinRow> outputBuiltins();          // setout, print, savetable, ...
std::span<const BuiltinRow> dialogBuiltins();          // message, msg, yes, getstr, ...
std::span<const BuiltinRow> gradeBuiltins();           // ball, ball5
std::span<const BuiltinRow> lawBuiltins();             // nlaw, ulaw, dlaw, ... binlaw, elaw
std::span<const BuiltinRow> lawMethodBuiltins();       // den, pl, ..., valefr, intefr
std::span<const BuiltinRow> frequencyBuiltins();       // valfr, fre ... frgle, intfr, rvalfr
std::span<const BuiltinRow> specialBuiltins();         // gamma, lngamma, fa, cbin, beta, pvKolm, crKolm
std::span<const BuiltinRow> statisticsBuiltins();      // mean, median, disp, stdev, cov, covc, ...
std::span<const BuiltinRow> randomBuiltins();          // initrand, rand, sample, samples
std::span<const BuiltinRow> stringBuiltins();          // ucase ... dbl, code, decode, thisfile
std::span<const BuiltinRow> dateBuiltins();            // date, time, currtime, year ... formatdate
std::span<const BuiltinRow> loaderBuiltins();          // loadvector ... loaddaily, tickerfr, splitbase
std::span<const BuiltinRow> fileBuiltins();            // system, checkfile ... chdir, mem, getms
std::span<const BuiltinRow> plotBuiltins();            // axes, line ... points, wintitle, setfont
std::span<const BuiltinRow> pictureBuiltins();         // show, qshow, hide, erase, setftime ...
std::span<const BuiltinRow> examBuiltins();            // LoadItemBase ... SaveExamAB, ExportExam
std::span<const BuiltinRow> seriesBuiltins();          // dif, ret, cdif, cret, sma, ema, wma, acf, corf
std::span<const BuiltinRow> portfolioBuiltins();       // frontier1, frontier2, frontier2a, stat, mdcr, trade, maxrlevels

// Fills the table in the registry's order and records the predefined count.
void registerBuiltins(VariableTable& table);

// The registry's ordered list of names with their categories.
struct RegistryName {
  const char* name;
  int category;
};
std::span<const RegistryName> registryOrder();

// The row registered for a name, or null.
const BuiltinRow* findBuiltin(std::string_view name, int category);

// Builds a row's object: a class around a routine.
template <class Class, auto Routine>
ValuePtr makeBuiltin() {
  return std::make_unique<Class>(Routine);
}
// As makeBuiltin, for routines without side effects whose elements may be
// shared out between threads.
template <class Class, auto Routine>
ValuePtr makeSharedOutBuiltin() {
  auto builtin = std::make_unique<Class>(Routine);
  builtin->shareOutElements();
  return builtin;
}
template <class Class, auto Short, auto Long>
ValuePtr makeBuiltin2() {
  return std::make_unique<Class>(Short, Long);
}

}  // namespace tesmora

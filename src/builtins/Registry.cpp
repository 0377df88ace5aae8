#include "builtins/Registry.h"

#include <array>

#include "interp/Limits.h"
#include "interp/VariableTable.h"
#include "values/Matrix.h"

namespace tesmora {
namespace {

// Every builtin name of the language in registration order: plain names,
// then the law methods (9), the matrix methods (3) and the super-matrix
// methods (4). Order matters where a name repeats.
constexpr RegistryName kOrder[] = {
    {"system", 0}, {"frontier1", 0}, {"frontier2a", 0}, {"frontier2", 0}, {"stat", 0},
    {"mdcr", 0}, {"thisfile", 0}, {"thisfname", 0}, {"initrand", 0}, {"setfont", 0},
    {"setstatus", 0}, {"mem", 0}, {"fmem", 0}, {"freemem", 0}, {"getms", 0},
    {"LoadExamBase", 0}, {"LoadItemBase", 0}, {"SaveExamMeta", 0}, {"SaveExamAB", 0},
    {"SaveExamAA", 0}, {"SaveExamOpen", 0}, {"SaveStDok", 0}, {"ExportExam", 0},
    {"ReplaceExamInfo", 0}, {"cprint", 0}, {"closeout", 0}, {"print", 0},
    {"println", 0}, {"setout", 0}, {"savetable", 0}, {"message", 0},
    {"savetextvector", 0}, {"savevector", 0}, {"yes", 0}, {"picmsg", 0}, {"getstr", 0},
    {"msg", 0}, {"qshow", 0}, {"hide", 0}, {"assert", 0}, {"super", 0}, {"srdim", 0},
    {"scdim", 0}, {"resize", 0}, {"sselect", 0}, {"aqua", 0}, {"aquamarine", 0},
    {"bisque", 0}, {"black", 0}, {"blue", 0}, {"brown", 0}, {"chartreuse", 0},
    {"chocolate", 0}, {"coral", 0}, {"cornflower", 0}, {"crimson", 0}, {"cyan", 0},
    {"deeppink", 0}, {"gold", 0}, {"gray", 0}, {"green", 0}, {"hotpink", 0},
    {"magenta", 0}, {"navy", 0}, {"olive", 0}, {"orange", 0}, {"orchid", 0},
    {"pink", 0}, {"plum", 0}, {"purple", 0}, {"red", 0}, {"rosybrown", 0},
    {"salmon", 0}, {"silver", 0}, {"skyblue", 0}, {"steelblue", 0}, {"snow", 0},
    {"tan", 0}, {"tomato", 0}, {"violet", 0}, {"wheat", 0}, {"white", 0},
    {"whitesmoke", 0}, {"yellow", 0}, {"rgb", 0}, {"decode", 0}, {"code", 0},
    {"loadtext", 0}, {"ucase", 0}, {"lcase", 0}, {"substr", 0}, {"splus", 0},
    {"quote", 0}, {"newln", 0}, {"replstr", 0}, {"ball", 0}, {"ball5", 0},
    {"strfr", 0}, {"tickerfr", 0}, {"splitbase", 0}, {"getcdir", 0}, {"splitstr", 0},
    {"extract", 0}, {"strlen", 0}, {"savetext", 0}, {"dbl", 0}, {"show", 0},
    {"erase", 0}, {"setftime", 0}, {"setfdate", 0}, {"setfmonth", 0}, {"axes", 0},
    {"line", 0}, {"sqline", 0}, {"vlines", 0}, {"stairs", 0}, {"cml", 0},
    {"setpen", 0}, {"sethpen", 0}, {"setbrush", 0}, {"setview", 0}, {"hist", 0},
    {"dhist", 0}, {"points", 0}, {"wintitle", 0}, {"indexdaily", 0}, {"forexdaily", 0},
    {"rts1daily", 0}, {"micexdaily", 0}, {"loadvector", 0}, {"loadtextvector", 0},
    {"loaddaily", 0}, {"loadtextcol", 0}, {"loadnumcol", 0}, {"checkfile", 0},
    {"copyfile", 0}, {"safecopy", 0}, {"remove", 0}, {"rename", 0}, {"mkdir", 0},
    {"rmdir", 0}, {"chdir", 0}, {"select", 0}, {"sort", 0}, {"dsort", 0}, {"rows", 0},
    {"cols", 0}, {"maxrlevels", 0}, {"chol", 0}, {"intnum", 0}, {"mul", 0},
    {"setmaxdim", 0}, {"matrix", 0}, {"dim", 0}, {"rdim", 0}, {"cdim", 0}, {"det", 0},
    {"diag", 0}, {"sum", 0}, {"sums", 0}, {"prod", 0}, {"prods", 0}, {"max", 0},
    {"maxabs", 0}, {"min", 0}, {"E", 0}, {"ident", 0}, {"len", 0}, {"dif", 0},
    {"cdif", 0}, {"ret", 0}, {"cret", 0}, {"mel", 0}, {"corf", 0}, {"acf", 0},
    {"sma", 0}, {"ema", 0}, {"wma", 0}, {"trade", 0}, {"root", 0}, {"sint", 0},
    {"iSimpson", 0}, {"covc", 0}, {"mean", 0}, {"median", 0}, {"cmoment", 0},
    {"cov", 0}, {"cor", 0}, {"cbeta", 0}, {"calpha", 0}, {"stdev", 0}, {"disp", 0},
    {"valfr", 0}, {"pvKolm", 0}, {"crKolm", 0}, {"time", 0}, {"date", 0},
    {"currtime", 0}, {"weekday", 0}, {"monthday", 0}, {"mday", 0}, {"lastmday", 0},
    {"yearday", 0}, {"yday", 0}, {"lastyday", 0}, {"year", 0}, {"month", 0},
    {"week", 0}, {"hour", 0}, {"minute", 0}, {"timer", 0}, {"strdate", 0},
    {"formatdate", 0}, {"log", 0}, {"pow", 0}, {"cbin", 0}, {"iff", 0}, {"fa", 0},
    {"sin", 0}, {"cos", 0}, {"exp", 0}, {"inv", 0}, {"ln", 0}, {"lg", 0}, {"tg", 0},
    {"arcsin", 0}, {"arccos", 0}, {"arctg", 0}, {"abs", 0}, {"sign", 0}, {"floor", 0},
    {"ceil", 0}, {"fmod", 0}, {"mod", 0}, {"powmod", 0}, {"plus", 0}, {"round", 0},
    {"gamma", 0}, {"lngamma", 0}, {"beta", 0}, {"pi", 0}, {"e", 0}, {"void", 0},
    {"sample", 0}, {"samples", 0}, {"nlaw", 0}, {"ulaw", 0}, {"dlaw", 0}, {"law2", 0},
    {"Flaw", 0}, {"tlaw", 0}, {"x2law", 0}, {"explaw", 0}, {"binlaw", 0}, {"elaw", 0},
    {"rand", 0}, {"den", 9}, {"pl", 9}, {"ple", 9}, {"invpl", 9}, {"qmin", 9},
    {"qmax", 9}, {"q", 9}, {"pe", 9}, {"pg", 9}, {"pge", 9}, {"pgl", 9}, {"pgel", 9},
    {"pgle", 9}, {"pgele", 9}, {"invpg", 9}, {"valefr", 9}, {"rvalefr", 9},
    {"dlpoints", 9}, {"intefrgel", 9}, {"intefrgle", 9}, {"intefr", 9}, {"w", 3},
    {"c", 3}, {"r", 3}, {"minor", 3}, {"algc", 3}, {"dsort", 3}, {"sort", 3},
    {"repl0", 3}, {"intfr", 3}, {"rvalfr", 3}, {"intfrgel", 3}, {"intfrgle", 3},
    {"fre", 3}, {"frl", 3}, {"frle", 3}, {"frg", 3}, {"frge", 3}, {"frgel", 3},
    {"frgele", 3}, {"frgl", 3}, {"frgle", 3}, {"contains", 3}, {"c", 4}, {"r", 4},
    {"contains", 4},
};

using Family = std::span<const BuiltinRow> (*)();
constexpr Family kFamilies[] = {numberBuiltins,     constantBuiltins,
                                runBuiltins,        elementaryBuiltins,
                                matrixFunctionBuiltins, tableBuiltins,
                                sortBuiltins,       outputBuiltins,
                                dialogBuiltins,     gradeBuiltins,
                                lawBuiltins,        lawMethodBuiltins,
                                frequencyBuiltins,  specialBuiltins,
                                statisticsBuiltins, randomBuiltins,
                                stringBuiltins,     dateBuiltins,
                                loaderBuiltins,     fileBuiltins,
                                plotBuiltins,       pictureBuiltins,
                                examBuiltins,       seriesBuiltins,
                                portfolioBuiltins};

}  // namespace

std::span<const RegistryName> registryOrder() { return kOrder; }

const BuiltinRow* findBuiltin(std::string_view name, int category) {
  for (const Family family : kFamilies) {
    for (const BuiltinRow& row : family()) {
      if (row.category == category && name == row.name) return &row;
    }
  }
  return nullptr;
}

void registerBuiltins(VariableTable& table) {
  for (const RegistryName& entry : kOrder) {
    const BuiltinRow* row = findBuiltin(entry.name, entry.category);
    if (!row) continue;  // not part of the language yet
    table.setRegistrationCategory(entry.category);
    table.registerPredefined(entry.name, row->make());
  }
  table.setRegistrationCategory(0);
  table.finishRegistration();
  setMaxElementCount(kDefaultMaxElements);
}

}  // namespace tesmora

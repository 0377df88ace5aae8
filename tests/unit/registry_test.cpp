// The registry against the language's ordered list of builtin names: every
// name entered so far stands in its place, with its class and category.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builtins/Registry.h"
#include "interp/VariableTable.h"
#include "values/Matrix.h"

namespace tesmora {
namespace {

struct Expected {
  const char* name;
  int category;
  const char* className;
};

// The reference list: plain names, then law (9), matrix (3) and
// super-matrix (4) methods, each with its class.
const Expected kExpected[] = {
    {"system", 0, "FunctionO_Str"}, {"frontier1", 0, "FunctionO_MMD"},
    {"frontier2a", 0, "FunctionO_MM"}, {"frontier2", 0, "FunctionO_MM"},
    {"stat", 0, "FunctionO_M"}, {"mdcr", 0, "FunctionO_MM"},
    {"thisfile", 0, "FunctionO_"}, {"thisfname", 0, "FunctionO_"},
    {"initrand", 0, "SF_D"}, {"setfont", 0, "SF_D"}, {"setstatus", 0, "FunctionO_Str"},
    {"mem", 0, "SF_D"}, {"fmem", 0, "SF_"}, {"freemem", 0, "SF_"}, {"getms", 0, "SF_"},
    {"LoadExamBase", 0, "COFunc"}, {"LoadItemBase", 0, "COFunc"},
    {"SaveExamMeta", 0, "FunctionO_Super"}, {"SaveExamAB", 0, "FunctionO_Super"},
    {"SaveExamAA", 0, "FunctionO_Super"}, {"SaveExamOpen", 0, "FunctionO_Super"},
    {"SaveStDok", 0, "FunctionO_Super"}, {"ExportExam", 0, "FunctionO_Super"},
    {"ReplaceExamInfo", 0, "COFunc"}, {"cprint", 0, "Subroutine"},
    {"closeout", 0, "FunctionO_"}, {"print", 0, "Subroutine"},
    {"println", 0, "Subroutine"}, {"setout", 0, "FunctionO_Str"},
    {"savetable", 0, "Subroutine"}, {"message", 0, "Subroutine"},
    {"savetextvector", 0, "FunctionO_SupStr"}, {"savevector", 0, "FunctionO_MStr"},
    {"yes", 0, "FunctionO_Str"}, {"picmsg", 0, "FunctionO_StrStr"},
    {"getstr", 0, "FunctionO_Str"}, {"msg", 0, "FunctionO_StrStrStrStr"},
    {"qshow", 0, "FunctionO_StrStrStr"}, {"hide", 0, "FunctionO_"},
    {"assert", 0, "SF_D"}, {"super", 0, "COFunc"}, {"srdim", 0, "FunctionO_Super"},
    {"scdim", 0, "FunctionO_Super"}, {"resize", 0, "COFunc"},
    {"sselect", 0, "FunctionO_SupM"}, {"aqua", 0, "CColor"},
    {"aquamarine", 0, "CColor"}, {"bisque", 0, "CColor"}, {"black", 0, "CColor"},
    {"blue", 0, "CColor"}, {"brown", 0, "CColor"}, {"chartreuse", 0, "CColor"},
    {"chocolate", 0, "CColor"}, {"coral", 0, "CColor"}, {"cornflower", 0, "CColor"},
    {"crimson", 0, "CColor"}, {"cyan", 0, "CColor"}, {"deeppink", 0, "CColor"},
    {"gold", 0, "CColor"}, {"gray", 0, "CColor"}, {"green", 0, "CColor"},
    {"hotpink", 0, "CColor"}, {"magenta", 0, "CColor"}, {"navy", 0, "CColor"},
    {"olive", 0, "CColor"}, {"orange", 0, "CColor"}, {"orchid", 0, "CColor"},
    {"pink", 0, "CColor"}, {"plum", 0, "CColor"}, {"purple", 0, "CColor"},
    {"red", 0, "CColor"}, {"rosybrown", 0, "CColor"}, {"salmon", 0, "CColor"},
    {"silver", 0, "CColor"}, {"skyblue", 0, "CColor"}, {"steelblue", 0, "CColor"},
    {"snow", 0, "CColor"}, {"tan", 0, "CColor"}, {"tomato", 0, "CColor"},
    {"violet", 0, "CColor"}, {"wheat", 0, "CColor"}, {"white", 0, "CColor"},
    {"whitesmoke", 0, "CColor"}, {"yellow", 0, "CColor"}, {"rgb", 0, "FunctionO_DDD"},
    {"decode", 0, "COFunc"}, {"code", 0, "FunctionO_Str_D"},
    {"loadtext", 0, "FunctionO_Str"}, {"ucase", 0, "FunctionO_Str"},
    {"lcase", 0, "FunctionO_Str"}, {"substr", 0, "FunctionO_StrDD"},
    {"splus", 0, "FunctionO_D"}, {"quote", 0, "String"}, {"newln", 0, "String"},
    {"replstr", 0, "FunctionO_StrStrStr"}, {"ball", 0, "FunctionO_D"},
    {"ball5", 0, "SF_D"}, {"strfr", 0, "FunctionO_Super"},
    {"tickerfr", 0, "FunctionO_Str"}, {"splitbase", 0, "FunctionO_StrStrStr"},
    {"getcdir", 0, "FunctionO_"}, {"splitstr", 0, "FunctionO_StrStrD"},
    {"extract", 0, "FunctionO_StrStr"}, {"strlen", 0, "SF_Str"},
    {"savetext", 0, "FunctionO_StrStr"}, {"dbl", 0, "SF_StrD"}, {"show", 0, "COFunc"},
    {"erase", 0, "FunctionO_"}, {"setftime", 0, "Subroutine"},
    {"setfdate", 0, "Subroutine"}, {"setfmonth", 0, "Subroutine"},
    {"axes", 0, "Subroutine"}, {"line", 0, "Subroutine"}, {"sqline", 0, "Subroutine"},
    {"vlines", 0, "Subroutine"}, {"stairs", 0, "Subroutine"}, {"cml", 0, "Subroutine"},
    {"setpen", 0, "Subroutine"}, {"sethpen", 0, "Subroutine"},
    {"setbrush", 0, "Subroutine"}, {"setview", 0, "Subroutine"},
    {"hist", 0, "Subroutine"}, {"dhist", 0, "Subroutine"}, {"points", 0, "Subroutine"},
    {"wintitle", 0, "Subroutine"}, {"indexdaily", 0, "FunctionO_DDStrStr"},
    {"forexdaily", 0, "FunctionO_DDStrStr"}, {"rts1daily", 0, "FunctionO_DDStrStr"},
    {"micexdaily", 0, "FunctionO_DDStrStr"}, {"loadvector", 0, "FunctionO_Str"},
    {"loadtextvector", 0, "FunctionO_Str"}, {"loaddaily", 0, "FunctionO_DDStrStr"},
    {"loadtextcol", 0, "FunctionO_StrStr"}, {"loadnumcol", 0, "FunctionO_StrStr"},
    {"checkfile", 0, "FunctionO_Str"}, {"copyfile", 0, "FunctionO_StrStr"},
    {"safecopy", 0, "FunctionO_StrStr"}, {"remove", 0, "FunctionO_Str"},
    {"rename", 0, "FunctionO_StrStr"}, {"mkdir", 0, "FunctionO_Str"},
    {"rmdir", 0, "FunctionO_Str"}, {"chdir", 0, "FunctionO_Str"},
    {"select", 0, "COFunc"}, {"sort", 0, "COFunc"}, {"dsort", 0, "COFunc"},
    {"rows", 0, "COFunc"}, {"cols", 0, "COFunc"}, {"maxrlevels", 0, "FunctionO_M"},
    {"chol", 0, "FunctionO_M"}, {"intnum", 0, "SF_MD"}, {"mul", 0, "SF_DD"},
    {"setmaxdim", 0, "FunctionO_D"}, {"matrix", 0, "COFunc"}, {"dim", 0, "SF_M"},
    {"rdim", 0, "SF_M"}, {"cdim", 0, "SF_M"}, {"det", 0, "SF_M"},
    {"diag", 0, "FunctionO_M"}, {"sum", 0, "SF_M"}, {"sums", 0, "FunctionO_M"},
    {"prod", 0, "SF_M"}, {"prods", 0, "FunctionO_M"}, {"max", 0, "SF_M"},
    {"maxabs", 0, "SF_M"}, {"min", 0, "SF_M"}, {"E", 0, "FunctionO_D"},
    {"ident", 0, "FunctionO_D"}, {"len", 0, "SF_M"}, {"dif", 0, "FunctionO_M"},
    {"cdif", 0, "FunctionO_M"}, {"ret", 0, "FunctionO_M"}, {"cret", 0, "FunctionO_M"},
    {"mel", 0, "SF_MD_D"}, {"corf", 0, "FunctionO_MMM"}, {"acf", 0, "FunctionO_MM"},
    {"sma", 0, "FunctionO_MD"}, {"ema", 0, "FunctionO_MD"}, {"wma", 0, "FunctionO_MM"},
    {"trade", 0, "FunctionO_MMM"}, {"root", 0, "SF_FDDD"}, {"sint", 0, "SF_FDDD"},
    {"iSimpson", 0, "SF_FDDDD"}, {"covc", 0, "FunctionO_MM"}, {"mean", 0, "SF_N"},
    {"median", 0, "SF_M"}, {"cmoment", 0, "SF_MD"}, {"cov", 0, "SF_MM"},
    {"cor", 0, "SF_MM"}, {"cbeta", 0, "SF_MM"}, {"calpha", 0, "SF_MM"},
    {"stdev", 0, "SF_N_D"}, {"disp", 0, "SF_N_D"}, {"valfr", 0, "FunctionO_M"},
    {"pvKolm", 0, "SF_D"}, {"crKolm", 0, "SF_D"}, {"time", 0, "SF_DDDDD"},
    {"date", 0, "SF_DDD"}, {"currtime", 0, "SF_"}, {"weekday", 0, "SF_D"},
    {"monthday", 0, "SF_D"}, {"mday", 0, "SF_D"}, {"lastmday", 0, "SF_D"},
    {"yearday", 0, "SF_D"}, {"yday", 0, "SF_D"}, {"lastyday", 0, "SF_D"},
    {"year", 0, "SF_D"}, {"month", 0, "SF_D"}, {"week", 0, "SF_D"},
    {"hour", 0, "SF_D"}, {"minute", 0, "SF_D"}, {"timer", 0, "FunctionO_D"},
    {"strdate", 0, "FunctionO_D"}, {"formatdate", 0, "FunctionO_StrD"},
    {"log", 0, "SF_DD"}, {"pow", 0, "SF_DD"}, {"cbin", 0, "SF_DD"},
    {"iff", 0, "FunctionO_DOO"}, {"fa", 0, "SF_D"}, {"sin", 0, "SF_D"},
    {"cos", 0, "SF_D"}, {"exp", 0, "SF_D"}, {"inv", 0, "SF_D"}, {"ln", 0, "SF_D"},
    {"lg", 0, "SF_D"}, {"tg", 0, "SF_D"}, {"arcsin", 0, "SF_D"}, {"arccos", 0, "SF_D"},
    {"arctg", 0, "SF_D"}, {"abs", 0, "SF_D"}, {"sign", 0, "SF_D"},
    {"floor", 0, "SF_D"}, {"ceil", 0, "SF_D"}, {"fmod", 0, "SF_DD"},
    {"mod", 0, "SF_DD"}, {"powmod", 0, "SF_DDD"}, {"plus", 0, "SF_D"},
    {"round", 0, "SF_DD0"}, {"gamma", 0, "SF_D"}, {"lngamma", 0, "SF_D"},
    {"beta", 0, "SF_DD"}, {"pi", 0, "Scalar"}, {"e", 0, "Scalar"}, {"void", 0, "Void"},
    {"sample", 0, "COFunc"}, {"samples", 0, "COFunc"}, {"nlaw", 0, "FunctionO_DD"},
    {"ulaw", 0, "COFunc"}, {"dlaw", 0, "FunctionO_M"}, {"law2", 0, "FunctionO_DDD"},
    {"Flaw", 0, "FunctionO_DD"}, {"tlaw", 0, "FunctionO_D"},
    {"x2law", 0, "FunctionO_D"}, {"explaw", 0, "FunctionO_D"},
    {"binlaw", 0, "FunctionO_DD"}, {"elaw", 0, "FunctionO_M"}, {"rand", 0, "COFunc"},
    {"den", 9, "SF_LD"}, {"pl", 9, "SF_LD"}, {"ple", 9, "SF_LD"},
    {"invpl", 9, "SF_LD"}, {"qmin", 9, "SF_LD"}, {"qmax", 9, "SF_LD"},
    {"q", 9, "SF_LD"}, {"pe", 9, "SF_LD"}, {"pg", 9, "SF_LD"}, {"pge", 9, "SF_LD"},
    {"pgl", 9, "SF_LDD"}, {"pgel", 9, "SF_LDD"}, {"pgle", 9, "SF_LDD"},
    {"pgele", 9, "SF_LDD"}, {"invpg", 9, "SF_LD"}, {"valefr", 9, "FunctionO_LD"},
    {"rvalefr", 9, "FunctionO_LDDD"}, {"dlpoints", 9, "FunctionO_LDD"},
    {"intefrgel", 9, "FunctionO_LMD"}, {"intefrgle", 9, "FunctionO_LMD"},
    {"intefr", 9, "FunctionO_LMD"}, {"w", 3, "FunctionO_MD"}, {"c", 3, "FunctionO_MO"},
    {"r", 3, "FunctionO_MO"}, {"minor", 3, "FunctionO_MDD"},
    {"algc", 3, "FunctionO_MDD"}, {"dsort", 3, "FunctionO_MD"},
    {"sort", 3, "FunctionO_MD"}, {"repl0", 3, "FunctionO_MD"},
    {"intfr", 3, "FunctionO_MM"}, {"rvalfr", 3, "FunctionO_MDD"},
    {"intfrgel", 3, "FunctionO_MM"}, {"intfrgle", 3, "FunctionO_MM"},
    {"fre", 3, "SF_MD"}, {"frl", 3, "SF_MD"}, {"frle", 3, "SF_MD"},
    {"frg", 3, "SF_MD"}, {"frge", 3, "SF_MD"}, {"frgel", 3, "SF_MDD"},
    {"frgele", 3, "SF_MDD"}, {"frgl", 3, "SF_MDD"}, {"frgle", 3, "SF_MDD"},
    {"contains", 3, "SF_MD"}, {"c", 4, "FunctionO_SupO"}, {"r", 4, "FunctionO_SupO"},
    {"contains", 4, "SF_SupStr"},
};

TEST(Registry, OrderMatchesTheReferenceList) {
  const auto order = registryOrder();
  ASSERT_EQ(order.size(), std::size(kExpected));
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_STREQ(order[i].name, kExpected[i].name) << "position " << i;
    EXPECT_EQ(order[i].category, kExpected[i].category) << kExpected[i].name;
  }
}

TEST(Registry, EveryRowHasTheClassOfItsName) {
  for (const Expected& expected : kExpected) {
    const BuiltinRow* row = findBuiltin(expected.name, expected.category);
    if (!row) continue;  // entered by a later part of the language
    EXPECT_STREQ(row->className, expected.className)
        << expected.name << " in category " << expected.category;
  }
}

TEST(Registry, TableHoldsTheRowsInReferenceOrder) {
  VariableTable table;
  registerBuiltins(table);
  std::size_t next = 0;
  for (int i = 0; i < table.count(); ++i) {
    const auto& entry = table.entry(i);
    while (next < std::size(kExpected) &&
           !(entry.name == kExpected[next].name && entry.category == kExpected[next].category)) {
      ++next;
    }
    ASSERT_LT(next, std::size(kExpected)) << entry.name << " is out of order";
    EXPECT_EQ(entry.value, entry.registered);
    EXPECT_STREQ(entry.value->variableName, entry.name.c_str());
    ++next;
  }
  EXPECT_EQ(table.predefinedCount(), table.count());
}

TEST(Registry, RepeatedNamesAreSeparateEntries) {
  VariableTable table;
  registerBuiltins(table);
  // E is the identity matrix builtin, e the number: case matters.
  ASSERT_NE(table.lookup("e"), nullptr);
  ASSERT_NE(table.lookup("E"), nullptr);
  EXPECT_NE(table.lookup("E")->value, table.lookup("e")->value);
  EXPECT_EQ(table.lookup("E")->value->typeCode, 6);
  EXPECT_EQ(table.lookup("e")->value->typeCode, 2);
  // c, r and contains exist only as methods.
  EXPECT_EQ(table.lookup("c", 0), nullptr);
  EXPECT_EQ(table.lookup("contains", 0), nullptr);
}

TEST(Registry, ColoursHaveTheirExactComponents) {
  VariableTable table;
  registerBuiltins(table);
  struct Colour {
    const char* name;
    double r, g, b;
  };
  for (const Colour& c : {Colour{"orange", 255, 165, 152}, Colour{"coral", 255, 117, 80},
                          Colour{"whitesmoke", 224, 224, 224}, Colour{"skyblue", 0, 191, 255},
                          Colour{"green", 0, 255, 0}}) {
    const auto* entry = table.lookup(c.name);
    ASSERT_NE(entry, nullptr) << c.name;
    const Matrix& colour = asMatrix(*entry->value);
    ASSERT_EQ(colour.count(), 3);
    EXPECT_EQ(colour[0], c.r) << c.name;
    EXPECT_EQ(colour[1], c.g) << c.name;
    EXPECT_EQ(colour[2], c.b) << c.name;
    EXPECT_EQ(colour.literalClass(), 11) << "a colour is one value inside a literal";
  }
}

}  // namespace
}  // namespace tesmora

// What tesmora-run prints, and how it reads program texts.
#include <gtest/gtest.h>

#include "cli/Json.h"
#include "cli/ProgramText.h"
#include "cli/RunOutput.h"
#include "text/Cp1251.h"

namespace tesmora::cli {
namespace {

TEST(Json, QuotesEscapesAndControlCharacters) {
  EXPECT_EQ(jsonQuote(""), "\"\"");
  EXPECT_EQ(jsonQuote("a\"b\\c"), R"j("a\"b\\c")j");
  EXPECT_EQ(jsonQuote("1\r\n2\t3"), R"j("1\r\n2\t3")j");
  EXPECT_EQ(jsonQuote(std::string("\x01\x1f\b\f", 4)),
            R"j("\u0001\u001f\u0008\u000c")j");
  EXPECT_EQ(jsonQuote(std::string("a\0b", 3)), R"j("a\u0000b")j");
  EXPECT_EQ(jsonQuote("Скаляр /"), "\"Скаляр /\"");
}

TEST(Json, ObjectsKeepTheOrderOfTheirKeys) {
  const std::string object = JsonObject()
                                 .add("z", true)
                                 .add("a", std::int64_t{-3})
                                 .addNull("n")
                                 .add("s", "x")
                                 .addRaw("r", "[]")
                                 .str();
  EXPECT_EQ(object, R"j({"z":true,"a":-3,"n":null,"s":"x","r":[]})j");
  EXPECT_EQ(JsonObject().str(), "{}");
}

TEST(RunOutput, SuccessfulRunLine) {
  RunReport report;
  report.ok = true;
  report.shown = true;
  report.caption = cp("Матрица");
  report.text = "  1,  2\r\n  3,  4";
  report.status = cp("Выполнено за 0мс");
  const std::vector<BoxRecord> boxes = {
      {"msg", cp("Вопрос"), "a\"b", "YES|NO", "(?)", "NO"}};
  const std::string text = "[1, 2; 3, 4]";
  const std::string title = "t";
  const RunOutcome outcome{report, boxes, text, title};
  EXPECT_EQ(jsonLine(outcome),
            R"j({"ok":true,"caption":"Матрица","text":"  1,  2\r\n  3,  4",)j"
            R"j("status":"Выполнено за 0мс","boxes":[{"kind":"msg",)j"
            R"j("caption":"Вопрос","text":"a\"b","buttons":"YES|NO",)j"
            R"j("icon":"(?)","answer":"NO"}],"picture":null})j");
  EXPECT_EQ(humanResult(report), "  1,  2\n  3,  4\n");
}

TEST(RunOutput, NothingShownAndAPictureLeft) {
  RunReport report;
  report.ok = true;
  report.status = "s";
  report.pictureCommands = 3;
  report.pictureTitle = cp("Рис");
  const std::vector<BoxRecord> boxes;
  const std::string text, title;
  const RunOutcome outcome{report, boxes, text, title};
  EXPECT_EQ(jsonLine(outcome),
            R"j({"ok":true,"caption":null,"text":"","status":"s","boxes":[],)j"
            R"j("picture":{"commands":3,"title":"Рис"}})j");
  EXPECT_EQ(humanResult(report), "");
}

TEST(RunOutput, FailedRunGivesOffsetLineAndColumn) {
  RunReport report;
  report.errorTitle = cp("Ошибка в f( )");
  report.errorMessage = cp("zz:  нет определения");
  report.errorOffset = 22;
  report.status = cp("Выполнено с ошибкой");
  const std::vector<BoxRecord> boxes;
  const std::string text = "a = 1;\r\nb = 2;\r\nc = zz + 1;";
  const std::string title = cp("Задача");
  const RunOutcome outcome{report, boxes, text, title};
  EXPECT_EQ(jsonLine(outcome),
            R"j({"ok":false,"title":"Ошибка в f( )","message":"zz:  нет )j"
            R"j(определения","offset":22,"line":3,"column":7,)j"
            R"j("status":"Выполнено с ошибкой","boxes":[],"picture":null})j");
  EXPECT_EQ(humanError(outcome),
            "Задача:3:7: Ошибка в f( ): zz:  нет определения\n");
}

TEST(RunOutput, HumanBoxLine) {
  EXPECT_EQ(humanBox({"message", "message", "1\r\n2", "OK", "", "OK"}),
            "[message] 1\n2 -> OK\n");
}

TEST(ProgramText, Utf8AndCp1251SourcesBothArriveAsCp1251WithCrLf) {
  EXPECT_EQ(decodeProgramText("s = \"Я\";\nt", "f"), "s = \"\xDF\";\r\nt");
  EXPECT_EQ(decodeProgramText("s = \"\xDF\";\nt", "f"), "s = \"\xDF\";\r\nt");
  EXPECT_EQ(decodeProgramText("", "f"), "");
}

TEST(ProgramText, AnInconvertibleCharacterNamesItsLineAndColumn) {
  try {
    decodeProgramText("x = 1;\nyé = \"☃\";", "prog.tsm");
    FAIL() << "no error";
  } catch (const UsageError& error) {
    const std::string message = error.what();
    EXPECT_EQ(message.rfind("prog.tsm:2:2: ", 0), 0u) << message;
    EXPECT_NE(message.find("U+00E9"), std::string::npos) << message;
  }
}

TEST(ProgramText, TitlesAndAnswers) {
  EXPECT_EQ(decodeArgumentText("Экзамен", "--title"), cp("Экзамен"));
  EXPECT_EQ(decodeArgumentText("\xDD\xEA", "--title"), "\xDD\xEA");
  EXPECT_EQ(decodeArgumentText("a\nb", "--answer"), "a\nb");
  EXPECT_THROW(decodeArgumentText("☃", "--answer"), UsageError);

  RunSource run;
  run.argument = "dir/sub/exam.v2.tsm";
  EXPECT_EQ(defaultTitleBytes(run), "exam.v2");
  run.source = SourceKind::Text;
  EXPECT_EQ(defaultTitleBytes(run), "Untitled");
  run.source = SourceKind::Stdin;
  EXPECT_EQ(defaultTitleBytes(run), "Untitled");
}

TEST(ProgramText, PrepareRunReadsFilesAndRefusesUnreadableOnes) {
  RunSource run;
  run.argument = "/nonexistent/dir/x.tsm";
  EXPECT_THROW(prepareRun(run), UsageError);
  run.argument = "/";
  EXPECT_THROW(prepareRun(run), UsageError);

  run.source = SourceKind::Text;
  run.argument = "1\n2";
  run.fragment = true;
  run.title = "Тест";
  run.answers = {"да", "OK"};
  const PreparedRun prepared = prepareRun(run);
  EXPECT_EQ(prepared.text, "1\r\n2");
  EXPECT_TRUE(prepared.fragment);
  EXPECT_EQ(prepared.title, cp("Тест"));
  EXPECT_EQ(prepared.answers, (std::vector<std::string>{cp("да"), "OK"}));
}

}  // namespace
}  // namespace tesmora::cli

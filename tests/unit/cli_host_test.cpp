// The headless host: queued answers, defaults and the box log.
#include <gtest/gtest.h>

#include "cli/CliHost.h"
#include "text/Cp1251.h"

namespace tesmora::cli {
namespace {

BoxRequest box(BoxKind kind, std::string buttons) {
  BoxRequest request;
  request.kind = kind;
  request.caption = "c";
  request.text = "t";
  request.buttons = std::move(buttons);
  request.icon = "(?)";
  return request;
}

class CliHostTest : public ::testing::Test {
 protected:
  std::vector<std::string> warnings;
  std::vector<std::string> seen;
  CliHost host{[this](const BoxRecord& b) { seen.push_back(b.kind); },
               [this](const std::string& w) { warnings.push_back(w); }};
};

TEST_F(CliHostTest, DefaultsWithoutAnswers) {
  EXPECT_EQ(host.messageBox(box(BoxKind::Msg, "OK")), "OK");
  EXPECT_EQ(host.messageBox(box(BoxKind::Msg, "OK|CANCEL")), "OK");
  EXPECT_EQ(host.messageBox(box(BoxKind::Msg, "ABORT|RETRY|IGNORE")), "ABORT");
  EXPECT_EQ(host.messageBox(box(BoxKind::Msg, "YES|NO|CANCEL")), "YES");
  EXPECT_EQ(host.messageBox(box(BoxKind::Yes, "YES|NO")), "YES");
  EXPECT_EQ(host.messageBox(box(BoxKind::Msg, "RETRY|CANCEL")), "RETRY");
  EXPECT_EQ(host.messageBox(box(BoxKind::Msg, "CANCEL|TRY|CONTINUE")),
            "CANCEL");
  EXPECT_EQ(host.messageBox(box(BoxKind::LongRun, "YES|NO")), "NO");
  EXPECT_EQ(host.getString("p"), "");
  PictureRequest show;
  EXPECT_EQ(host.showPicture(show), 0);
  show.mode = PictureMode::QShow;
  EXPECT_EQ(host.showPicture(show), 0);  // X
  EXPECT_TRUE(warnings.empty());
}

TEST_F(CliHostTest, AnswersAreConsumedInOrderByEveryKindOfInteraction) {
  for (const char* answer : {"no", "typed text", "2", "ASK", "YES", "skip"}) {
    host.queueAnswer(answer);
  }
  EXPECT_EQ(host.messageBox(box(BoxKind::Yes, "YES|NO")), "NO");
  EXPECT_EQ(host.getString("prompt"), "typed text");
  PictureRequest show;
  show.title = "pic";
  show.menu = {cp("Да"), cp("Нет")};
  EXPECT_EQ(host.showPicture(show), 2);
  PictureRequest qshow;
  qshow.mode = PictureMode::QShow;
  EXPECT_EQ(host.showPicture(qshow), 2);  // ASK
  EXPECT_EQ(host.messageBox(box(BoxKind::LongRun, "YES|NO")), "YES");
  EXPECT_EQ(host.showPicture(qshow), 1);  // SKIP

  const std::vector<BoxRecord> boxes = host.takeBoxes();
  ASSERT_EQ(boxes.size(), 6u);
  EXPECT_EQ(boxes[0].kind, "yes");
  EXPECT_EQ(boxes[0].answer, "NO");
  EXPECT_EQ(boxes[0].icon, "(?)");
  EXPECT_EQ(boxes[1].kind, "getstr");
  EXPECT_EQ(boxes[1].caption, "");
  EXPECT_EQ(boxes[1].text, "prompt");
  EXPECT_EQ(boxes[1].buttons, "");
  EXPECT_EQ(boxes[1].answer, "typed text");
  EXPECT_EQ(boxes[2].kind, "show");
  EXPECT_EQ(boxes[2].caption, "pic");
  EXPECT_EQ(cp1251ToUtf8(boxes[2].buttons), "Да|Нет");
  EXPECT_EQ(boxes[2].answer, "2");
  EXPECT_EQ(boxes[3].kind, "qshow");
  EXPECT_EQ(cp1251ToUtf8(boxes[3].buttons), "Пропустить|Спросить");
  EXPECT_EQ(boxes[3].answer, "ASK");
  EXPECT_EQ(boxes[4].kind, "longrun");
  EXPECT_EQ(boxes[5].answer, "SKIP");
  EXPECT_EQ(seen.size(), 6u);
  EXPECT_TRUE(host.takeBoxes().empty()) << "taking empties the log";
}

TEST_F(CliHostTest, AnswersThatDoNotFitFallBackToTheDefaultWithAWarning) {
  host.queueAnswer("NO");
  host.queueAnswer("seven");
  host.queueAnswer("MAYBE");
  EXPECT_EQ(host.messageBox(box(BoxKind::Message, "OK")), "OK");
  EXPECT_EQ(host.showPicture(PictureRequest{}), 0);
  PictureRequest qshow;
  qshow.mode = PictureMode::QShow;
  EXPECT_EQ(host.showPicture(qshow), 0);
  EXPECT_EQ(warnings.size(), 3u);
}

TEST_F(CliHostTest, EveryBoxKindHasItsReportedName) {
  const std::pair<BoxKind, const char*> kinds[] = {
      {BoxKind::Message, "message"}, {BoxKind::Msg, "msg"},
      {BoxKind::PicMsg, "picmsg"},   {BoxKind::Yes, "yes"},
      {BoxKind::CPrint, "cprint"},   {BoxKind::LongRun, "longrun"},
      {BoxKind::PictureEmpty, "picture-empty"},
  };
  for (const auto& [kind, name] : kinds) {
    host.messageBox(box(kind, "OK"));
    EXPECT_EQ(host.takeBoxes().at(0).kind, name);
  }
}

TEST_F(CliHostTest, ClocksAndStatus) {
  const auto first = host.tickMs();
  EXPECT_GE(host.tickMs(), first);
  // The long-run check's reading is the same clock, at most a timer tick
  // behind.
  const auto coarse = host.checkTickMs();
  EXPECT_LE(coarse, host.tickMs());
  EXPECT_GE(coarse, first - 100);
  EXPECT_GT(host.wallClock(), 1600000000);
  host.setStatus("s");
  EXPECT_EQ(host.status(), "s");
  host.setClipboardText("clip");
  EXPECT_EQ(host.clipboardText(), "clip");
}

TEST(Answers, MatchButtonIgnoresCaseAndNeedsAWholeName) {
  EXPECT_EQ(matchButton("yes", "YES|NO"), "YES");
  EXPECT_EQ(matchButton("CONTINUE", "CANCEL|TRY|CONTINUE"), "CONTINUE");
  EXPECT_FALSE(matchButton("YE", "YES|NO"));
  EXPECT_FALSE(matchButton("", "YES|NO"));
  EXPECT_FALSE(matchButton("YES|NO", "YES|NO"));
  EXPECT_EQ(parseShowCode("+3"), 3);
  EXPECT_EQ(parseShowCode("-1"), -1);
  EXPECT_FALSE(parseShowCode(""));
  EXPECT_FALSE(parseShowCode("1x"));
}

}  // namespace
}  // namespace tesmora::cli

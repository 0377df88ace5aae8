// The command line of tesmora-run.
#include <gtest/gtest.h>

#include "cli/CliOptions.h"

namespace tesmora::cli {
namespace {

CliOptions parse(std::vector<std::string> args) {
  return parseCommandLine(args);
}

TEST(CliOptions, RunFormsInOrder) {
  const CliOptions options = parse({"a.tsm", "-e", "1+1", "-", "dir/b.tsm"});
  ASSERT_EQ(options.runs.size(), 4u);
  EXPECT_EQ(options.runs[0].source, SourceKind::File);
  EXPECT_EQ(options.runs[0].argument, "a.tsm");
  EXPECT_EQ(options.runs[1].source, SourceKind::Text);
  EXPECT_EQ(options.runs[1].argument, "1+1");
  EXPECT_EQ(options.runs[2].source, SourceKind::Stdin);
  EXPECT_EQ(options.runs[3].argument, "dir/b.tsm");
  EXPECT_FALSE(options.json);
  EXPECT_FALSE(options.seed);
}

TEST(CliOptions, TheArgumentAfterAnOptionIsAlwaysItsValue) {
  const CliOptions options =
      parse({"--answer", "-1", "--title", "--json", "-e", "-e"});
  ASSERT_EQ(options.runs.size(), 1u);
  EXPECT_EQ(options.runs[0].argument, "-e");
  EXPECT_EQ(options.runs[0].title, "--json");
  EXPECT_EQ(options.runs[0].answers, std::vector<std::string>{"-1"});
  EXPECT_FALSE(options.json);
}

TEST(CliOptions, FragmentAndAnswersBelongToTheNextRunOnly) {
  const CliOptions options =
      parse({"--answer", "YES", "--answer", "NO", "--fragment", "-e", "a",
             "-e", "b", "--answer", "OK", "-e", "c"});
  ASSERT_EQ(options.runs.size(), 3u);
  EXPECT_TRUE(options.runs[0].fragment);
  EXPECT_EQ(options.runs[0].answers, (std::vector<std::string>{"YES", "NO"}));
  EXPECT_FALSE(options.runs[1].fragment);
  EXPECT_TRUE(options.runs[1].answers.empty());
  EXPECT_EQ(options.runs[2].answers, std::vector<std::string>{"OK"});
}

TEST(CliOptions, TitleAndPictureStayForTheFollowingRuns) {
  const CliOptions options =
      parse({"-e", "a", "--title", "T", "--picture", "p.SVG",
             "--picture-size", "800x600", "-e", "b", "--title", "U", "-e",
             "c"});
  ASSERT_EQ(options.runs.size(), 3u);
  EXPECT_FALSE(options.runs[0].title);
  EXPECT_FALSE(options.runs[0].pictureFile);
  EXPECT_EQ(options.runs[0].pictureSize.width, 424);
  EXPECT_EQ(options.runs[0].pictureSize.height, 361);
  EXPECT_EQ(options.runs[1].title, "T");
  EXPECT_EQ(options.runs[1].pictureFile, "p.SVG");
  EXPECT_EQ(options.runs[1].pictureSize.width, 800);
  EXPECT_EQ(options.runs[2].title, "U");
  EXPECT_EQ(options.runs[2].pictureFile, "p.SVG");
  EXPECT_EQ(options.runs[2].pictureSize.height, 600);
}

TEST(CliOptions, OnceOptionsMayStandAnywhere) {
  const CliOptions options = parse({"-e", "a", "--json", "--seed", "-5"});
  EXPECT_TRUE(options.json);
  ASSERT_TRUE(options.seed);
  EXPECT_EQ(*options.seed, 4294967291u);
  EXPECT_EQ(*parse({"--seed", "4294967295", "x.tsm"}).seed, 4294967295u);
}

TEST(CliOptions, TimeoutIsADecimalNumberOfSeconds) {
  EXPECT_FALSE(parse({"a.tsm"}).timeoutSeconds);
  EXPECT_EQ(*parse({"a.tsm", "--timeout", "2.5"}).timeoutSeconds, 2.5);
  EXPECT_EQ(*parse({"--timeout", "0.001", "-e", "1"}).timeoutSeconds, 0.001);
}

TEST(CliOptions, HelpAndVersionNeedNoRun) {
  EXPECT_TRUE(parse({"--help"}).help);
  EXPECT_TRUE(parse({"--version"}).version);
  EXPECT_NE(usageText().find("--picture-size WxH"), std::string::npos);
}

TEST(CliOptions, UsageErrors) {
  const std::vector<std::vector<std::string>> bad = {
      {},                                   // nothing to run
      {"--json"},                           // still nothing to run
      {"-e"},                               // -e without its text
      {"--answer"},                         // option without value
      {"--bogus", "a.tsm"},                 // unknown option
      {"-x"},                               // unknown short option
      {"--seed", "abc", "a.tsm"},           // not a number
      {"--seed", "4294967296", "a.tsm"},    // beyond 32 bits
      {"--seed", "1.5", "a.tsm"},
      {"--picture", "p.jpg", "a.tsm"},      // neither PNG nor SVG
      {"--picture-size", "0x10", "a.tsm"},
      {"--picture-size", "10", "a.tsm"},
      {"--picture-size", "10x", "a.tsm"},
      {"--picture-size", "10x20000", "a.tsm"},
      {"a.tsm", "--answer", "YES"},         // applies to no run
      {"a.tsm", "--fragment"},
      {"--timeout", "0", "a.tsm"},          // a limit must be above 0
      {"--timeout", "-1", "a.tsm"},
      {"--timeout", "1s", "a.tsm"},
      {"--timeout", "nan", "a.tsm"},
      {"--timeout", "a.tsm"},               // the run is taken as the value
  };
  for (const auto& args : bad) {
    std::string joined;
    for (const auto& arg : args) joined += arg + " ";
    EXPECT_THROW(parse(args), UsageError) << joined;
  }
}

TEST(CliOptions, PictureSizeForms) {
  ASSERT_TRUE(parsePictureSize("1x1"));
  EXPECT_EQ(parsePictureSize("640X480")->width, 640);
  EXPECT_EQ(parsePictureSize("10000x10000")->height, 10000);
  EXPECT_FALSE(parsePictureSize("x"));
  EXPECT_FALSE(parsePictureSize("-1x5"));
  EXPECT_FALSE(parsePictureSize("5x5x5"));
  EXPECT_FALSE(parsePictureSize(" 5x5"));
}

}  // namespace
}  // namespace tesmora::cli

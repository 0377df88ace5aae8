// PNG pictures of the headless runner: drawn by the picture window's QPainter
// canvas at the requested client size, on an offscreen Qt GUI made only
// when a PNG is asked for.
#include <gtest/gtest.h>

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <filesystem>
#include <sstream>

#include <unistd.h>

#include "cli/RunSession.h"

namespace tesmora::cli {
namespace {

namespace fs = std::filesystem;

class CliPngTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("tesmora_png_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  // Runs `text` as one program run that draws into `file`; returns the
  // exit status.
  int run(const std::string& text, const fs::path& file, PictureSize size) {
    PreparedRun prepared;
    prepared.text = text;
    prepared.title = "t";
    prepared.pictureFile = file.string();
    prepared.pictureSize = size;
    return runSession({prepared}, true, std::nullopt, SessionOutput{out, err});
  }

  static QImage load(const fs::path& file) {
    return QImage(QString::fromStdString(file.string()));
  }

  static int countPixels(const QImage& image, QRgb color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if ((image.pixel(x, y) & RGB_MASK) == (color & RGB_MASK)) ++count;
      }
    }
    return count;
  }

  fs::path dir;
  std::ostringstream out, err;
};

TEST_F(CliPngTest, SvgPicturesMakeNoGuiApplication) {
  const QCoreApplication* before = QCoreApplication::instance();
  const fs::path file = dir / "p.SVG";  // the extension in any letter case
  EXPECT_EQ(run("line(0:10, 0:10, red);", file, {120, 90}), 0);
  EXPECT_EQ(QCoreApplication::instance(), before);
  ASSERT_TRUE(fs::exists(file)) << err.str();
  EXPECT_TRUE(err.str().empty()) << err.str();
}

TEST_F(CliPngTest, PictureIsDrawnAtTheRequestedSize) {
  const fs::path file = dir / "p.png";
  ASSERT_EQ(run("line(0:10, (0:10)^2, red); axes();", file, {300, 200}), 0)
      << out.str() << err.str();
  EXPECT_TRUE(err.str().empty()) << err.str();
  ASSERT_NE(QGuiApplication::instance(), nullptr);

  const QImage image = load(file);
  ASSERT_FALSE(image.isNull()) << "not a readable PNG";
  EXPECT_EQ(image.width(), 300);
  EXPECT_EQ(image.height(), 200);
  const int pixels = image.width() * image.height();
  const int white = countPixels(image, qRgb(255, 255, 255));
  EXPECT_LT(white, pixels) << "the picture is all white";
  EXPECT_GT(white, pixels / 2) << "the background is white";
  // The curve rises over most of the height: well over a hundred red pixels.
  EXPECT_GT(countPixels(image, qRgb(255, 0, 0)), 100);
  // The axes and their labels are black.
  EXPECT_GT(countPixels(image, qRgb(0, 0, 0)), 100);
}

TEST_F(CliPngTest, LaterDrawingsReplaceTheFileAtTheirOwnSize) {
  const fs::path file = dir / "p.PNG";
  ASSERT_EQ(run("line(0:10, 0:10, red);", file, {200, 150}), 0) << err.str();
  ASSERT_EQ(run("line(0:10, 0:10, blue);", file, {100, 80}), 0) << err.str();
  const QImage image = load(file);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size().width(), 100);
  EXPECT_EQ(image.size().height(), 80);
  EXPECT_EQ(countPixels(image, qRgb(255, 0, 0)), 0);
  EXPECT_GT(countPixels(image, qRgb(0, 0, 255)), 10);
}

TEST_F(CliPngTest, AreaSmallerThanTheMarginsIsWhite) {
  const fs::path file = dir / "tiny.png";
  ASSERT_EQ(run("line(0:10, 0:10, red);", file, {10, 10}), 0) << err.str();
  const QImage image = load(file);
  ASSERT_EQ(image.width(), 10);
  EXPECT_EQ(countPixels(image, qRgb(255, 255, 255)), 100);
}

TEST_F(CliPngTest, UnwritableFileIsReportedAndTheRunSucceeds) {
  const fs::path file = dir / "missing" / "p.png";
  EXPECT_EQ(run("line(0:10, 0:10, red); 5;", file, {100, 100}), 0);
  EXPECT_NE(err.str().find("cannot write the picture"), std::string::npos)
      << err.str();
  EXPECT_NE(out.str().find("\"ok\":true"), std::string::npos) << out.str();
  EXPECT_FALSE(fs::exists(file));
}

}  // namespace
}  // namespace tesmora::cli

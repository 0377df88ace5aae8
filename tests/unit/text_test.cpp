// Windows-1251 <-> UTF-8 conversion and the document text rules.
#include <gtest/gtest.h>

#include <string>

#include "text/Cp1251.h"

namespace tesmora {
namespace {

std::string allBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  return bytes;
}

TEST(Cp1251, EveryByteRoundTripsThroughUtf8) {
  const std::string bytes = allBytes();
  const std::string utf8 = cp1251ToUtf8(bytes);
  EXPECT_TRUE(isValidUtf8(utf8));
  std::string back;
  std::size_t bad = 12345;
  ASSERT_TRUE(utf8ToCp1251(utf8, back, &bad));
  EXPECT_EQ(back, bytes);
  EXPECT_EQ(bad, 12345u) << "badOffset is only written on failure";
}

TEST(Cp1251, EveryCodePointOfTheTableRoundTrips) {
  for (int b = 0; b < 256; ++b) {
    const char32_t cp = cp1251ToCodePoint(static_cast<unsigned char>(b));
    EXPECT_EQ(codePointToCp1251(cp), b) << "byte " << b;
  }
}

TEST(Cp1251, KnownLetters) {
  EXPECT_EQ(cp1251ToCodePoint(0xC0), U'А');
  EXPECT_EQ(cp1251ToCodePoint(0xFF), U'я');
  EXPECT_EQ(cp1251ToCodePoint(0xA8), U'Ё');
  EXPECT_EQ(cp1251ToCodePoint(0xB8), U'ё');
  EXPECT_EQ(cp1251ToCodePoint(0xB9), U'№');
  EXPECT_EQ(cp1251ToCodePoint(0x88), U'€');
  EXPECT_EQ(cp("Ошибка"), "\xCE\xF8\xE8\xE1\xEA\xE0");
  EXPECT_EQ(cp1251ToUtf8("\xD1\xEA\xE0\xEB\xFF\xF0"), "Скаляр");
}

TEST(Cp1251, CharactersTheCodePageLacksAreReportedWithTheirOffset) {
  EXPECT_EQ(codePointToCp1251(U'☃'), -1);
  EXPECT_EQ(codePointToCp1251(U'é'), -1);
  std::string out;
  std::size_t bad = 0;
  // "ab" + "Я" (2 bytes) + "☃" (3 bytes): the snowman starts at byte 4.
  EXPECT_FALSE(utf8ToCp1251("abЯ☃c", out, &bad));
  EXPECT_EQ(bad, 4u);
  EXPECT_EQ(out, "ab\xDF") << "the text converted so far";
  // Astral characters (4 bytes) are refused the same way.
  EXPECT_FALSE(utf8ToCp1251("x😀", out, &bad));
  EXPECT_EQ(bad, 1u);
}

TEST(Cp1251, MalformedUtf8IsRejected) {
  EXPECT_FALSE(isValidUtf8("\xD0"));              // truncated sequence
  EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong '/'
  EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));      // overlong, 3 bytes
  EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // surrogate D800
  EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(isValidUtf8("\x80"));              // lone continuation
  EXPECT_FALSE(isValidUtf8("\xFF"));
  EXPECT_TRUE(isValidUtf8(""));
  EXPECT_TRUE(isValidUtf8("plain"));
  EXPECT_TRUE(isValidUtf8("\xF4\x8F\xBF\xBF"));   // U+10FFFF itself
  std::string out;
  std::size_t bad = 0;
  EXPECT_FALSE(utf8ToCp1251("ok\xD0", out, &bad));
  EXPECT_EQ(bad, 2u);
}

TEST(Cp1251, AnInconvertibleLiteralStillYieldsText) {
  EXPECT_EQ(cp("a☃"), "a?");
}

TEST(DocumentText, Utf8WithCyrillicIsConvertedAndLinesGetCrLf) {
  const DecodedText decoded = decodeDocument("x = \"Привет\";\ny");
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.encoding, DocumentEncoding::Utf8);
  EXPECT_EQ(decoded.text, "x = \"\xCF\xF0\xE8\xE2\xE5\xF2\";\r\ny");
  EXPECT_FALSE(decoded.hadCrLf);
}

TEST(DocumentText, BytesThatAreNotUtf8AreTakenAsCp1251) {
  const std::string cp1251 = "s = \"\xCF\xF0\xE8\xE2\xE5\xF2\";\r\n";
  const DecodedText decoded = decodeDocument(cp1251);
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.encoding, DocumentEncoding::Cp1251);
  EXPECT_EQ(decoded.text, cp1251);
  EXPECT_TRUE(decoded.hadCrLf);
}

TEST(DocumentText, PlainAsciiCountsAsUtf8) {
  const DecodedText decoded = decodeDocument("1+2");
  EXPECT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.encoding, DocumentEncoding::Utf8);
  EXPECT_EQ(decoded.text, "1+2");
}

TEST(DocumentText, Utf8HoldingACharacterTheCodePageLacksFails) {
  const DecodedText decoded = decodeDocument("a\nб☃");
  EXPECT_FALSE(decoded.ok);
  EXPECT_EQ(decoded.badOffset, 4u);
}

TEST(DocumentText, LoneLineFeedsBecomeCrLfAndPairsStay) {
  EXPECT_EQ(toCrLf("a\nb\r\nc\n"), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(toCrLf("\n\n"), "\r\n\r\n");
  EXPECT_EQ(toCrLf("a\rb"), "a\rb");
  EXPECT_EQ(toCrLf(""), "");
}

TEST(DocumentText, EncodeRestoresTheLoadedForm) {
  const std::string text = "s = \"\xDF\";\r\nt";
  EXPECT_EQ(encodeDocument(text, DocumentEncoding::Utf8, false),
            "s = \"Я\";\nt");
  EXPECT_EQ(encodeDocument(text, DocumentEncoding::Utf8, true),
            "s = \"Я\";\r\nt");
  EXPECT_EQ(encodeDocument(text, DocumentEncoding::Cp1251, true), text);
  EXPECT_EQ(encodeDocument(text, DocumentEncoding::Cp1251, false),
            "s = \"\xDF\";\nt");
  // Loading what was saved gives the same text back.
  for (const bool crLf : {false, true}) {
    for (const auto encoding :
         {DocumentEncoding::Utf8, DocumentEncoding::Cp1251}) {
      EXPECT_EQ(decodeDocument(encodeDocument(text, encoding, crLf)).text,
                text);
    }
  }
}

TEST(TextMode, WritingTurnsEveryLoneLineFeedIntoCrLf) {
  EXPECT_EQ(toTextModeBytes("a\nb"), "a\r\nb");
  EXPECT_EQ(toTextModeBytes("a\r\nb"), "a\r\nb");
  EXPECT_EQ(toTextModeBytes("\r\r\n\n"), "\r\r\n\r\n");
  EXPECT_EQ(toTextModeBytes("\nx", true), "\nx");
  EXPECT_EQ(toTextModeBytes("\n"), "\r\n");
}

TEST(TextMode, ReadingTurnsCrLfIntoLineFeed) {
  EXPECT_EQ(fromTextModeBytes("a\r\nb"), "a\nb");
  EXPECT_EQ(fromTextModeBytes("a\r\r\nb"), "a\r\nb");
  EXPECT_EQ(fromTextModeBytes("a\rb\r"), "a\rb\r");
}

TEST(LineColumn, CountsLinesByLineFeedAndColumnsByByte) {
  const std::string text = "ab\r\n\xCF\xF0x\r\nz";
  EXPECT_EQ(lineColumnAt(text, 0).line, 1);
  EXPECT_EQ(lineColumnAt(text, 0).column, 1);
  EXPECT_EQ(lineColumnAt(text, 2).column, 3);  // at the CR
  EXPECT_EQ(lineColumnAt(text, 4).line, 2);    // just after the LF
  EXPECT_EQ(lineColumnAt(text, 4).column, 1);
  EXPECT_EQ(lineColumnAt(text, 6).column, 3);  // Cyrillic is one byte each
  EXPECT_EQ(lineColumnAt(text, 9).line, 3);
  EXPECT_EQ(lineColumnAt(text, 10).column, 2);  // end of the text
  // An offset past the end is clamped to the end.
  EXPECT_EQ(lineColumnAt(text, 99).line, 3);
  EXPECT_EQ(lineColumnAt(text, 99).column, 2);
  EXPECT_EQ(lineColumnAt("", 0).column, 1);
}

}  // namespace
}  // namespace tesmora

// Windows-1251 inside, UTF-8 at the edges.
//
// The interpreter keeps every text as Windows-1251 bytes, so that one
// character is one byte (string limits, strlen, code, byte order of
// comparisons). These helpers are the only converters between that form and
// UTF-8; they are table-driven and use no locale. A character that
// Windows-1251 cannot hold is reported, never silently replaced.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tesmora {

// Every byte 0..255 maps to exactly one Unicode code point (0x98, unused by
// the code page, maps to U+0098 so that all 256 codes round-trip).
char32_t cp1251ToCodePoint(unsigned char byte);

// The Windows-1251 byte of a code point, or -1 when the code page lacks it.
int codePointToCp1251(char32_t cp);

std::string cp1251ToUtf8(std::string_view text);

// True when `bytes` is well-formed UTF-8 (no overlongs, no surrogates).
bool isValidUtf8(std::string_view bytes);

// Converts UTF-8 to Windows-1251. Returns false at the first character the
// code page cannot hold (or at malformed UTF-8), with its byte offset in
// `badOffset`; `out` then holds the text converted so far.
bool utf8ToCp1251(std::string_view utf8, std::string& out,
                  std::size_t* badOffset = nullptr);

// The system's own messages are written in the sources as UTF-8 literals;
// this converts one where it is raised. Our literals are all convertible.
std::string cp(std::string_view utf8Literal);

// Turns every lone LF into CR LF (a CR LF pair stays as it is).
std::string toCrLf(std::string_view text);

// Text mode on writing: every lone LF becomes CR LF; an LF that already
// follows a CR stays as it is, so no file ever holds CR CR LF (which TeX
// and editors read as an empty line). `afterCr` tells that the byte written
// just before `text` was a CR, for texts written in pieces.
std::string toTextModeBytes(std::string_view text, bool afterCr = false);

// Windows text mode on reading: every CR LF becomes LF.
std::string fromTextModeBytes(std::string_view bytes);

// How a document file was encoded, so it can be saved the same way.
enum class DocumentEncoding { Utf8, Cp1251 };

struct DecodedText {
  bool ok = true;               // false: UTF-8 holding a character 1251 lacks
  std::string text;             // Windows-1251, CR LF line ends
  DocumentEncoding encoding = DocumentEncoding::Cp1251;
  std::size_t badOffset = 0;    // byte offset of the bad character when !ok
  bool hadCrLf = false;         // the file used CR LF line ends
};

// A document that is valid UTF-8 holding any byte >= 128 is converted from
// UTF-8; otherwise its bytes are taken as Windows-1251. Lone LFs become CR LF.
DecodedText decodeDocument(std::string_view bytes);

// The inverse for saving: Windows-1251 CR LF text back to file bytes in the
// given encoding; with `crLf` false, CR LF pairs become LF.
std::string encodeDocument(std::string_view text, DocumentEncoding encoding,
                           bool crLf);

// Line (1-based) and column (1-based, in characters) of a byte offset in a
// Windows-1251 text: the line counts LFs before the offset.
struct LineColumn {
  int line = 1;
  int column = 1;
};
LineColumn lineColumnAt(std::string_view text, std::size_t offset);

}  // namespace tesmora

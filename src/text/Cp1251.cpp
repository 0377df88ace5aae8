#include "text/Cp1251.h"

#include <array>

namespace tesmora {
namespace {

// Code points of the bytes 0x80..0xFF; 0x00..0x7F are ASCII.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[pos]; returns its length, or 0 when
// the bytes there are not well-formed UTF-8.
std::size_t decodeUtf8(std::string_view text, std::size_t pos, char32_t& cp) {
  const auto byte = [&](std::size_t i) {
    return static_cast<unsigned char>(text[i]);
  };
  const unsigned char lead = byte(pos);
  std::size_t length = 0;
  char32_t min = 0;
  if (lead < 0x80) {
    cp = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (pos + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return length;
}

// The reverse of kHighHalf, built once.
struct ReverseTable {
  std::array<std::pair<char32_t, unsigned char>, 128> entries{};
  ReverseTable() {
    for (int i = 0; i < 128; ++i) {
      entries[i] = {kHighHalf[i], static_cast<unsigned char>(0x80 + i)};
    }
  }
};

}  // namespace

char32_t cp1251ToCodePoint(unsigned char byte) {
  return byte < 0x80 ? byte : kHighHalf[byte - 0x80];
}

int codePointToCp1251(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  static const ReverseTable reverse;
  for (const auto& [code, byte] : reverse.entries) {
    if (code == cp) return byte;
  }
  return -1;
}

std::string cp1251ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (const char c : text) {
    appendUtf8(out, cp1251ToCodePoint(static_cast<unsigned char>(c)));
  }
  return out;
}

bool isValidUtf8(std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size();) {
    char32_t cp = 0;
    const std::size_t length = decodeUtf8(bytes, pos, cp);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

bool utf8ToCp1251(std::string_view utf8, std::string& out,
                  std::size_t* badOffset) {
  out.clear();
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t cp = 0;
    const std::size_t length = decodeUtf8(utf8, pos, cp);
    const int byte = length == 0 ? -1 : codePointToCp1251(cp);
    if (byte < 0) {
      if (badOffset) *badOffset = pos;
      return false;
    }
    out += static_cast<char>(byte);
    pos += length;
  }
  return true;
}

std::string cp(std::string_view utf8Literal) {
  std::string out;
  if (!utf8ToCp1251(utf8Literal, out)) out += '?';
  return out;
}

std::string toCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

std::string toTextModeBytes(std::string_view text, bool afterCr) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n' && !afterCr) out += '\r';
    out += c;
    afterCr = c == '\r';
  }
  return out;
}

std::string fromTextModeBytes(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      continue;
    }
    out += bytes[i];
  }
  return out;
}

DecodedText decodeDocument(std::string_view bytes) {
  DecodedText result;
  result.hadCrLf = bytes.find("\r\n") != std::string_view::npos;
  bool anyHigh = false;
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      anyHigh = true;
      break;
    }
  }
  if (anyHigh && isValidUtf8(bytes)) {
    result.encoding = DocumentEncoding::Utf8;
    std::string converted;
    if (!utf8ToCp1251(bytes, converted, &result.badOffset)) {
      result.ok = false;
      return result;
    }
    result.text = toCrLf(converted);
  } else {
    result.encoding = anyHigh ? DocumentEncoding::Cp1251
                              : DocumentEncoding::Utf8;
    result.text = toCrLf(bytes);
  }
  return result;
}

std::string encodeDocument(std::string_view text, DocumentEncoding encoding,
                           bool crLf) {
  std::string lines = crLf ? std::string(text) : fromTextModeBytes(text);
  return encoding == DocumentEncoding::Utf8 ? cp1251ToUtf8(lines) : lines;
}

LineColumn lineColumnAt(std::string_view text, std::size_t offset) {
  LineColumn at;
  if (offset > text.size()) offset = text.size();
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < offset; ++i) {
    if (text[i] == '\n') {
      ++at.line;
      lineStart = i + 1;
    }
  }
  at.column = static_cast<int>(offset - lineStart) + 1;
  return at;
}

}  // namespace tesmora

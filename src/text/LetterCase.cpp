#include "text/LetterCase.h"

#include <array>

namespace tesmora {
namespace {

// Pairs (upper, lower) of the code page outside the two regular blocks
// A-Z/a-z and А-Я/а-я.
constexpr unsigned char kIrregularPairs[][2] = {
    {0x80, 0x90},  // Ђ ђ
    {0x81, 0x83},  // Ѓ ѓ
    {0x8A, 0x9A},  // Љ љ
    {0x8C, 0x9C},  // Њ њ
    {0x8D, 0x9D},  // Ќ ќ
    {0x8E, 0x9E},  // Ћ ћ
    {0x8F, 0x9F},  // Џ џ
    {0xA1, 0xA2},  // Ў ў
    {0xA3, 0xBC},  // Ј ј
    {0xA5, 0xB4},  // Ґ ґ
    {0xA8, 0xB8},  // Ё ё
    {0xAA, 0xBA},  // Є є
    {0xAF, 0xBF},  // Ї ї
    {0xB2, 0xB3},  // І і
    {0xBD, 0xBE},  // Ѕ ѕ
};

struct CaseTables {
  std::array<unsigned char, 256> upper{};
  std::array<unsigned char, 256> lower{};
};

constexpr CaseTables makeTables() {
  CaseTables t;
  for (int b = 0; b < 256; ++b) {
    t.upper[b] = static_cast<unsigned char>(b);
    t.lower[b] = static_cast<unsigned char>(b);
  }
  auto pair = [&t](int upper, int lower) {
    t.upper[lower] = static_cast<unsigned char>(upper);
    t.lower[upper] = static_cast<unsigned char>(lower);
  };
  for (int i = 0; i < 26; ++i) pair('A' + i, 'a' + i);
  for (int i = 0; i < 32; ++i) pair(0xC0 + i, 0xE0 + i);
  for (const auto& p : kIrregularPairs) pair(p[0], p[1]);
  return t;
}

constexpr CaseTables kTables = makeTables();

std::string mapped(std::string_view text, const std::array<unsigned char, 256>& table) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
  return out;
}

}  // namespace

unsigned char upperCaseByte(unsigned char byte) { return kTables.upper[byte]; }
unsigned char lowerCaseByte(unsigned char byte) { return kTables.lower[byte]; }

std::string upperCased(std::string_view text) { return mapped(text, kTables.upper); }
std::string lowerCased(std::string_view text) { return mapped(text, kTables.lower); }

}  // namespace tesmora

// Upper and lower case of Windows-1251 texts, byte for byte: the Latin
// letters and every Cyrillic letter of the code page (Ё/ё, the Ukrainian,
// Belarusian, Serbian and Macedonian letters included). Other bytes stay.
#pragma once

#include <string>
#include <string_view>

namespace tesmora {

unsigned char upperCaseByte(unsigned char byte);
unsigned char lowerCaseByte(unsigned char byte);

std::string upperCased(std::string_view text);
std::string lowerCased(std::string_view text);

}  // namespace tesmora

// Texts from the library as the program shows them: always UTF-8, no byte
// lost, no control character left to break a line.
#include <gtest/gtest.h>

#include <string>

#include "platform/library.h"

namespace {

// Guards a name in the card maker's code page vanishing from a window that
// wants UTF-8, a name with a line feed splitting a transcript line, and
// malformed UTF-8 passing through unchecked.
TEST(LibraryText, IsUtf8WithEveryByteAndNoControlCharacter) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"Quorvex S2 Virtual", "Quorvex S2 Virtual"},
      {"Tuner \xC3\xA9t\xC3\xA9", "Tuner \xC3\xA9t\xC3\xA9"},              // UTF-8 stays
      {"Tuner \xE9t\xE9", "Tuner \xC3\xA9t\xC3\xA9"},                      // Windows-1252 é
      {"\x80 \x81 \x9F \xFF", "\xE2\x82\xAC \xC2\x81 \xC5\xB8 \xC3\xBF"},  // € U+0081 Ÿ ÿ
      {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                  // an overlong slash is two bytes
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},  // a surrogate is three
      {"\xF0\x9F\x93\xBA", "\xF0\x9F\x93\xBA"},          // four-byte UTF-8 stays
      {"\xE2\x82", "\xC3\xA2\xE2\x80\x9A"},              // a cut sequence
      {"A\nB\tC\x01\x7F",
       "A\xE2\x90\x8A"
       "B\xE2\x90\x89"
       "C\xE2\x90\x81\xE2\x90\xA1"},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::LibraryText(c.in.c_str()), c.out) << c.in;
  EXPECT_EQ(platform::LibraryText(nullptr), "");
  const std::string big(65536, 'N');
  EXPECT_EQ(platform::LibraryText(big.c_str()), big);
}

}  // namespace

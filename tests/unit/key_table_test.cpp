#include "platform/web/key_table.h"

#include <gtest/gtest.h>

namespace {

// The browser's KeyboardEvent.key, as typed on any layout, to what
// freeglut on X11 hands the program for the same key.
TEST(KeyTable, ReadsKeysAsFreeglutDoes) {
  constexpr auto none = GlutKey::none;
  constexpr auto character = GlutKey::character;
  constexpr auto special = GlutKey::special;
  const struct {
    const char *name;
    int location;  // 1 left, 2 right
    GlutKey::Kind kind;
    int code;
  } cases[] = {
      {"+", 0, character, '+'},  // on a key of its own, or with Shift
      {"x", 0, character, 'x'},
      {"X", 0, character, 'X'},  // with Caps Lock, a capital
      {" ", 0, character, ' '},
      {"\xC3\xA9", 0, character, 0xE9},  // é, Latin-1
      {"\xC3\xBF", 0, character, 0xFF},  // ÿ, the last of Latin-1
      {"\xC4\x80", 0, none, 0},          // Ā, past Latin-1
      {"\xE2\x82\xAC", 0, none, 0},      // €
      {"Enter", 0, character, 13},
      {"Escape", 0, character, 27},
      {"Delete", 0, character, 127},
      {"F1", 0, special, 1},
      {"F2", 0, special, 2},
      {"F12", 0, special, 12},
      {"ArrowLeft", 0, special, 100},
      {"ArrowUp", 0, special, 101},
      {"ArrowRight", 0, special, 102},
      {"ArrowDown", 0, special, 103},
      {"Home", 0, special, 106},
      {"Clear", 0, special, 110},
      {"Shift", 1, special, 112},
      {"Shift", 2, special, 113},
      {"Control", 2, special, 115},
      {"Alt", 1, special, 116},
      {"Dead", 0, none, 0},
      {"Unidentified", 0, none, 0},
      {"", 0, none, 0},
  };
  for (const auto &one : cases) {
    const GlutKey key = glutKeyFor(one.name, one.location);
    EXPECT_EQ(key.kind, one.kind) << one.name;
    EXPECT_EQ(key.code, one.code) << one.name;
  }
}

}  // namespace

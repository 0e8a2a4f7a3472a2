#include "platform/web/key_table.h"

#include <gtest/gtest.h>

namespace {

// The browser's KeyboardEvent.key, as typed on any layout, to what
// freeglut on X11 hands the program for the same key, and whether the
// page then cancels the browser's own action (only to keep the page from
// scrolling or a find from starting).
TEST(KeyTable, ReadsKeysAsFreeglutDoes) {
  constexpr auto none = GlutKey::none;
  constexpr auto character = GlutKey::character;
  constexpr auto special = GlutKey::special;
  const struct {
    const char *name;
    int location;  // 1 left, 2 right
    GlutKey::Kind kind;
    int code;
    bool cancels;
  } cases[] = {
      {"+", 0, character, '+', true},  // on a key of its own, or with Shift
      {"x", 0, character, 'x', true},
      {"X", 0, character, 'X', true},  // with Caps Lock, a capital
      {" ", 0, character, ' ', true},
      {"\xC3\xA9", 0, character, 0xE9, true},  // é, Latin-1
      {"\xC3\xBF", 0, character, 0xFF, true},  // ÿ, the last of Latin-1
      {"\xC4\x80", 0, none, 0, false},         // Ā, past Latin-1
      {"\xE2\x82\xAC", 0, none, 0, false},     // €
      {"Enter", 0, character, 13, false},
      {"Escape", 0, character, 27, false},
      {"Delete", 0, character, 127, false},
      {"F1", 0, special, 1, false},
      {"F2", 0, special, 2, false},
      {"F12", 0, special, 12, false},
      {"Tab", 0, character, 9, false},
      {"'", 0, character, '\'', true},  // Firefox's quick find
      {"/", 0, character, '/', true},
      {"End", 0, special, 107, true},
      {"Insert", 0, special, 108, false},
      {"ArrowLeft", 0, special, 100, true},
      {"ArrowUp", 0, special, 101, true},
      {"ArrowRight", 0, special, 102, true},
      {"ArrowDown", 0, special, 103, true},
      {"Home", 0, special, 106, true},
      {"Clear", 0, special, 110, false},
      {"Shift", 1, special, 112, false},
      {"Shift", 2, special, 113, false},
      {"Control", 2, special, 115, false},
      {"Alt", 1, special, 116, false},
      {"Dead", 0, none, 0, false},
      {"Unidentified", 0, none, 0, false},
      {"", 0, none, 0, false},
  };
  for (const auto &one : cases) {
    const GlutKey key = glutKeyFor(one.name, one.location);
    EXPECT_EQ(key.kind, one.kind) << one.name;
    EXPECT_EQ(key.code, one.code) << one.name;
    EXPECT_EQ(cancelsBrowsersAction(key), one.cancels) << one.name;
  }
}

}  // namespace

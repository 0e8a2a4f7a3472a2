#include "platform/web/key_table.h"

#include <cstring>

namespace {

struct Named {
  const char *name;
  GlutKey key;
};

constexpr GlutKey special(int code) {
  return {GlutKey::special, code};
}
constexpr GlutKey character(int code) {
  return {GlutKey::character, code};
}

// freeglut's codes; its modifier keys are left, and right one more.
const Named named[] = {
    {"F1", special(1)},           {"F2", special(2)},
    {"F3", special(3)},           {"F4", special(4)},
    {"F5", special(5)},           {"F6", special(6)},
    {"F7", special(7)},           {"F8", special(8)},
    {"F9", special(9)},           {"F10", special(10)},
    {"F11", special(11)},         {"F12", special(12)},
    {"ArrowLeft", special(100)},  {"ArrowUp", special(101)},
    {"ArrowRight", special(102)}, {"ArrowDown", special(103)},
    {"PageUp", special(104)},     {"PageDown", special(105)},
    {"Home", special(106)},       {"End", special(107)},
    {"Insert", special(108)},     {"NumLock", special(109)},
    {"Clear", special(110)},      {"Shift", special(112)},
    {"Control", special(114)},    {"Alt", special(116)},
    {"Backspace", character(8)},  {"Tab", character(9)},
    {"Enter", character(13)},     {"Escape", character(27)},
    {"Delete", character(127)},
};

// The character NAME holds if it is one of Latin-1's, as GLUT's
// keyboard callback takes them; else -1. In UTF-8 those are one byte
// below 0x80, or 0xC2 or 0xC3 and one more.
int latin1(const char *name) {
  const auto *bytes = reinterpret_cast<const unsigned char *>(name);
  if (bytes[0] != 0 && bytes[0] < 0x80 && bytes[1] == 0) return bytes[0];
  const bool twoBytes = bytes[0] == 0xC2 || bytes[0] == 0xC3;
  if (twoBytes && (bytes[1] & 0xC0) == 0x80 && bytes[2] == 0) {
    return ((bytes[0] & 0x1F) << 6) | (bytes[1] & 0x3F);
  }
  return -1;
}

}  // namespace

GlutKey glutKeyFor(const char *name, int location) {
  for (const Named &entry : named) {
    if (std::strcmp(entry.name, name) != 0) continue;
    GlutKey key = entry.key;
    const bool modifier = key.code >= 112 && key.kind == GlutKey::special;
    if (modifier && location == 2) key.code += 1;
    return key;
  }
  const int typed = latin1(name);
  return typed < 0 ? GlutKey() : character(typed);
}

bool cancelsBrowsersAction(GlutKey key) {
  // freeglut's codes for the arrows, PageUp, PageDown, Home and End.
  if (key.kind == GlutKey::special) return key.code >= 100 && key.code <= 107;
  if (key.kind != GlutKey::character) return false;
  // Latin-1's printable characters: not its controls, nor Delete.
  return (key.code >= 32 && key.code < 127) || key.code >= 160;
}

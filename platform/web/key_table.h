// What a key press in the browser is to GLUT, read as freeglut reads a
// key on X11: the character typed, or the code of a special key.
#pragma once

struct GlutKey {
  enum Kind { none, character, special } kind = none;
  int code = 0;  // the character (0 to 255), or GLUT's special-key code
};

// The key that KeyboardEvent.key NAME (UTF-8) stands for, LOCATION
// telling left (1) from right (2). The character is what the user typed
// on whatever layout: "+" is "+" whether or not it took Shift.
GlutKey glutKeyFor(const char *name, int location);

// Whether the page cancels the browser's own action for KEY, once the
// program has it: only where that action would move the page or take
// the key away. So the keys that scroll (the arrows, PageUp, PageDown,
// Home, End and Space) and the printable characters (Firefox starts its
// quick find on ' and /). Tab, Escape, Enter, Backspace, Delete, the
// function keys (F2 included, which no browser gives an action) and the
// modifiers stay the browser's.
bool cancelsBrowsersAction(GlutKey key);

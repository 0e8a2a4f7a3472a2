// Reading an OpenGL extension string.
#pragma once

#include <cstring>

// Whether LIST, names separated by spaces, holds NAME as a whole name:
// GLX_EXT_swap_control_tear does not name GLX_EXT_swap_control.
inline bool namesExtension(const char *list, const char *name) {
  const std::size_t length = std::strlen(name);
  for (const char *at = list; at != nullptr && *at != '\0'; at += length) {
    at = std::strstr(at, name);
    if (at == nullptr) return false;
    const bool starts = at == list || at[-1] == ' ';
    const bool ends = at[length] == ' ' || at[length] == '\0';
    if (starts && ends) return true;
  }
  return false;
}

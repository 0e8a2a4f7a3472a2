#include "platform/extensions.h"

#include <gtest/gtest.h>

namespace {

// Whole names only: a longer name that begins or ends with the one asked
// for is another extension.
TEST(Extensions, NamesOnlyWholeNames) {
  const struct {
    const char *list;
    bool names;
  } cases[] = {
      {"GLX_EXT_swap_control", true},
      {"GLX_ARB_a GLX_EXT_swap_control GLX_ARB_b", true},
      {"GLX_EXT_swap_control_tear GLX_EXT_swap_control", true},
      {"GLX_EXT_swap_control_tear", false},
      {"WGLX_EXT_swap_control", false},
      {"GLX_MESA_swap_control GLX_SGI_swap_control", false},
      {"", false},
      {nullptr, false},
  };
  for (const auto &one : cases) {
    EXPECT_EQ(namesExtension(one.list, "GLX_EXT_swap_control"), one.names)
        << (one.list != nullptr ? one.list : "(null)");
  }
}

}  // namespace

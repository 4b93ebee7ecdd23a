// The message of the velkar::Error an action raises, for tests that compare exact Polish
// messages with EXPECT_EQ (both texts print when they differ).
#pragma once

#include <functional>
#include <string>

#include "base/Error.h"

namespace velkar::test {

// The message of the velkar::Error `action` raises, or "(no error)" when it raises none.
inline std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.what();
  }
  return "(no error)";
}

}  // namespace velkar::test

// SPDX-License-Identifier: GPL-3.0-or-later
// The environment of a test on POSIX: setenv and unsetenv, which the C library and the programs started
// afterwards both see.
#include <stdlib.h>

#include "support/ScopedEnv.h"

namespace calvorin::test {

void SetEnvironment(const std::string& name, const std::optional<std::string>& value) {
    if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
    else
        ::unsetenv(name.c_str());
}

}  // namespace calvorin::test

// SPDX-License-Identifier: GPL-3.0-or-later
// The environment of a test on Windows: the process's own block, which GetEnvironmentVariableW and child
// processes read, and the C runtime's copy, which getenv reads; both in UTF-16.
#include <stdlib.h>
#include <windows.h>

#include "platform/os/PathText.h"
#include "support/ScopedEnv.h"

namespace calvorin::test {

void SetEnvironment(const std::string& name, const std::optional<std::string>& value) {
    const std::wstring wideName = Utf8Path(name).native();
    const std::wstring wideValue = value ? Utf8Path(*value).native() : std::wstring();
    // An empty value removes a variable from the C runtime's copy, which cannot hold one set to "".
    ::_wputenv_s(wideName.c_str(), wideValue.c_str());
    ::SetEnvironmentVariableW(wideName.c_str(), value ? wideValue.c_str() : nullptr);
}

}  // namespace calvorin::test

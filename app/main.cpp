// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point: the window, or /batch mode without a display.
#include <cstdio>

int main() {
    std::fputs("Calvorin: start-up is not built yet.\n", stderr);
    return 1;
}

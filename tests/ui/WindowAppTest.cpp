// SPDX-License-Identifier: GPL-3.0-or-later
// Window mode from start to end: the screenshot hook saves the shown window and quits.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "support/TempDir.h"
#include "ui/WindowApp.h"

namespace calvorin::test {
namespace {

TEST(WindowAppTest, ScreenshotHookSavesTheWindowAndQuits) {
    TempDir dir;
    std::string png = (dir / "window.png").string();
    std::string root = dir.path().string();
    ::setenv("CALVORIN_SCREENSHOT", png.c_str(), 1);
    ::unsetenv("Calvorin_extended");
    char name[] = "calvorin";
    char* argv[] = {name, nullptr};
    int code =
        RunWindow(1, argv, {"/l=" + root + "/FCM/Leghe/Lega-1-2025.db", "/s=x", "/c=" + root + "/site"});
    ::unsetenv("CALVORIN_SCREENSHOT");
    EXPECT_EQ(code, 0);
    QImage image(QString::fromStdString(png), "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 488);
    EXPECT_EQ(image.height(), 608);
}

}  // namespace
}  // namespace calvorin::test

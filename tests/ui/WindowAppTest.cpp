// SPDX-License-Identifier: GPL-3.0-or-later
// Window mode from start to end: the window fits the screen and shows Calvorin's icon, the screenshot
// hook saves it and quits; FCM's settings that cannot be read are a message box and a clean exit.
#include "ui/WindowApp.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/ScopedEnv.h"
#include "support/TempDir.h"

namespace calvorin::test {
namespace {

std::vector<std::string> shownMessages;
std::vector<bool> mainWindowIcons;  // for each main window shown: whether it had an icon

// Records and closes every message box, as a user reading it and pressing OK would; notes whether the
// main window had an icon when it was shown.
class MessageBoxCloser : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show) return false;
        if (auto* box = qobject_cast<QMessageBox*>(watched)) {
            shownMessages.push_back(box->text().toStdString());
            QTimer::singleShot(0, box, &QDialog::accept);
        } else if (watched->isWidgetType() && watched->objectName() == QStringLiteral("MainForm")) {
            mainWindowIcons.push_back(!static_cast<QWidget*>(watched)->windowIcon().isNull());
        }
        return false;
    }
};

// RunWindow makes its own application object: the closer goes onto each one as it is created.
void InstallMessageBoxCloser() {
    QCoreApplication* app = QCoreApplication::instance();
    app->installEventFilter(new MessageBoxCloser(app));
}

int RunWindowOn(const TempDir& dir) {
    static const bool installed = (qAddPreRoutine(InstallMessageBoxCloser), true);
    (void)installed;
    std::string root = dir.path().string();
    std::filesystem::create_directories(dir / "FCM" / "Leghe");
    WriteBytes(dir / "FCM" / "Leghe" / "Lega-1-2025.db", "");  // there, though no league: the window opens
    char name[] = "calvorin";
    char* argv[] = {name, nullptr};
    return RunWindow(1, argv, {"/l=" + root + "/FCM/Leghe/Lega-1-2025.db", "/s=x", "/c=" + root + "/site"});
}

// The offscreen platform with one screen of that many pixels, at 96 dots per inch for 100 %.
std::string OffscreenScreen(const TempDir& dir, QSize pixels, int dpi) {
    const std::filesystem::path config = dir / "screen.json";
    WriteBytes(config, "{\"screens\": [{\"name\": \"S\", \"x\": 0, \"y\": 0, \"width\": " +
                           std::to_string(pixels.width()) +
                           ", \"height\": " + std::to_string(pixels.height()) +
                           ", \"logicalDpi\": " + std::to_string(dpi) + ", \"logicalBaseDpi\": 96}]}");
    return "offscreen:configfile=" + config.string();
}

struct ScreenCase {
    const char* name;
    QSize screen;
    int dpi;
    // The picture's, in the screen's pixels.
    int width;
    int leastHeight, mostHeight;
};

const ScreenCase kScreens[] = {
    {"DesignSizeOnALargeScreen", {1920, 1080}, 96, 488, 608, 608},
    // The design height at 150 % (912 px) is more than the screen has: the window takes the screen's
    // height less a frame.
    {"ShorterOn900PixelsAt150Percent", {1440, 900}, 144, 732, 800, 900},
};

class WindowAppScreenTest : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(WindowAppScreenTest, TheWindowFitsTheScreenShowsItsIconAndTheScreenshotHookSavesItAndQuits) {
    TempDir dir;
    const std::string png = (dir / "window.png").string();
    mainWindowIcons.clear();
    int code = 0;
    {
        ScopedEnv platform("QT_QPA_PLATFORM", OffscreenScreen(dir, GetParam().screen, GetParam().dpi));
        ScopedEnv screenshot("CALVORIN_SCREENSHOT", png);
        ScopedEnv extended("Calvorin_extended", std::nullopt);
        code = RunWindowOn(dir);
    }
    EXPECT_EQ(code, 0);
    EXPECT_EQ(mainWindowIcons, std::vector<bool>{true});
    QImage image(QString::fromStdString(png), "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), GetParam().width);
    EXPECT_GE(image.height(), GetParam().leastHeight);
    EXPECT_LE(image.height(), GetParam().mostHeight);
}

INSTANTIATE_TEST_SUITE_P(Screens, WindowAppScreenTest, ::testing::ValuesIn(kScreens),
                         [](const auto& info) { return std::string(info.param.name); });

// Root reads any file whatever its mode; /proc/self/mem is a regular file that fails every read at its
// start (EIO), so a link to it is a settings file present but unreadable.
void MakeUnreadable(const std::filesystem::path& file) {
    std::filesystem::create_directories(file.parent_path());
    std::filesystem::create_symlink("/proc/self/mem", file);
}

TEST(WindowAppTest, UnreadableFcmSettingsShowTheErrorAndEndCleanlyWithoutTheWindow) {
    TempDir dir;
    MakeUnreadable(dir / "FCM" / "FCM.ini");
    std::string png = (dir / "window.png").string();
    ScopedEnv screenshot("CALVORIN_SCREENSHOT", png);  // were the window shown, it would quit at once
    shownMessages.clear();
    int code = RunWindowOn(dir);

    EXPECT_EQ(code, kWindowNotLoaded);
    ASSERT_EQ(shownMessages.size(), 1u);
    EXPECT_NE(shownMessages[0].find("FCM.ini"), std::string::npos) << shownMessages[0];
    EXPECT_FALSE(std::filesystem::exists(png)) << "the window was shown";
}

// Our own settings file unreadable: the log says so and the window opens on the defaults.
TEST(WindowAppTest, UnreadableCalvorinSettingsOpenTheWindowWithoutAMessageBox) {
    TempDir dir;
    MakeUnreadable(dir / "FCM" / "plugin" / "Calvorin_Lega-1-2025.ini");
    std::string png = (dir / "window.png").string();
    ScopedEnv screenshot("CALVORIN_SCREENSHOT", png);
    shownMessages.clear();
    int code = RunWindowOn(dir);

    EXPECT_EQ(code, 0);
    EXPECT_EQ(shownMessages, std::vector<std::string>{});
    EXPECT_TRUE(std::filesystem::exists(png)) << "the window was not shown";
}

}  // namespace
}  // namespace calvorin::test

// SPDX-License-Identifier: GPL-3.0-or-later
// Window mode from start to end: the screenshot hook saves the shown window and quits; settings that
// cannot be read are a message box and a clean exit.
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

// Records and closes every message box, as a user reading it and pressing OK would.
class MessageBoxCloser : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                shownMessages.push_back(box->text().toStdString());
                QTimer::singleShot(0, box, &QDialog::accept);
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

TEST(WindowAppTest, ScreenshotHookSavesTheWindowAndQuits) {
    TempDir dir;
    std::string png = (dir / "window.png").string();
    int code = 0;
    {
        ScopedEnv screenshot("CALVORIN_SCREENSHOT", png);
        ScopedEnv extended("Calvorin_extended", std::nullopt);
        code = RunWindowOn(dir);
    }
    EXPECT_EQ(code, 0);
    QImage image(QString::fromStdString(png), "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 488);
    EXPECT_EQ(image.height(), 608);
}

// Root reads any file whatever its mode; /proc/self/mem is a regular file that fails every read at its
// start (EIO), so a link to it is a settings file present but unreadable.
TEST(WindowAppTest, UnreadableSettingsShowTheErrorAndEndCleanlyWithoutTheWindow) {
    for (const char* file : {"FCM/FCM.ini", "FCM/plugin/Calvorin_Lega-1-2025.ini"}) {
        SCOPED_TRACE(file);
        TempDir dir;
        std::filesystem::create_directories((dir / file).parent_path());
        std::filesystem::create_symlink("/proc/self/mem", dir / file);
        std::string png = (dir / "window.png").string();
        ScopedEnv screenshot("CALVORIN_SCREENSHOT", png);  // were the window shown, it would quit at once
        shownMessages.clear();
        int code = RunWindowOn(dir);

        EXPECT_EQ(code, kWindowNotLoaded);
        ASSERT_EQ(shownMessages.size(), 1u);
        EXPECT_NE(shownMessages[0].find(std::filesystem::path(file).filename().string()), std::string::npos)
            << shownMessages[0];
        EXPECT_FALSE(std::filesystem::exists(png)) << "the window was shown";
    }
}

}  // namespace
}  // namespace calvorin::test

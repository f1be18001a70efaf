// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowApp.h"

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <memory>

#include "app/form/MainForm.h"
#include "platform/http/HttpGet.h"
#include "platform/os/Process.h"
#include "plugin/PluginContext.h"
#include "starttimes/ServiceClient.h"
#include "ui/Appearance.h"
#include "ui/LogPane.h"
#include "ui/MainWindow.h"
#include "ui/QtDesktop.h"

namespace calvorin {
namespace {

// Once the window has been painted for the first time, saves it to `path`, or with an empty path prints
// the time of that paint; then quits.
class ScreenshotOnFirstPaint : public QObject {
  public:
    ScreenshotOnFirstPaint(QWidget& window, QString path) : window_(window), path_(std::move(path)) {
        window.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Paint && !taken_) {
            taken_ = true;
            QTimer::singleShot(0, this, [this] { Take(); });
        }
        return false;
    }

  private:
    void Take() {
        // The start-up benchmark reads when the first paint was done, on the clock it started us by.
        if (path_.isEmpty())
            std::printf("first-paint-ns %lld\n",
                        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                                   std::chrono::steady_clock::now().time_since_epoch())
                                                   .count()));
        bool saved = path_.isEmpty() || window_.grab().save(path_, "PNG");
        if (!saved) std::fprintf(stderr, "Impossibile scrivere %s\n", qPrintable(path_));
        QCoreApplication::exit(saved ? 0 : 1);
    }

    QWidget& window_;
    QString path_;
    bool taken_ = false;
};

// Shows the form's start-up (banner, settings, automatic update); an error, such as a settings file that
// cannot be read, is shown in a message box instead of ending the process.
bool FormShown(TMainForm& form, Desktop& desktop) {
    try {
        form.FormShow();
        return true;
    } catch (const std::exception& e) {
        desktop.ShowError(e.what());
        return false;
    }
}

}  // namespace

int RunWindow(int argc, char** argv, const std::vector<std::string>& arguments) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    // Wayland's task bar takes the icon from the installed calvorin.desktop, not from the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("calvorin"));
    ApplyAppearance(app);
    QtDesktop desktop;
    LogPaneSink sink;
    Log log(sink, [&desktop] { desktop.ProcessPendingEvents(); });
    std::unique_ptr<HttpTransport> http = MakeHttpTransport(ServiceHttpOptions());
    TMainForm form(FormServices{desktop, log, *http});
    const std::optional<std::string> extended = EnvironmentVariable("Calvorin_extended");
    if (!form.FormCreate(arguments, extended ? extended->c_str() : nullptr)) return 1;
    // Declared after the form, so the window goes first: its widgets hold on to the form's controls.
    MainWindow window;
    sink.Attach(&window.Log(), &window.Progress());
    window.Build(form);
    desktop.SetWindow(&window);
    int code = kWindowNotLoaded;
    if (FormShown(form, desktop)) {
        std::unique_ptr<ScreenshotOnFirstPaint> screenshot;
        if (const char* path = std::getenv("CALVORIN_SCREENSHOT"); path && *path)
            screenshot = std::make_unique<ScreenshotOnFirstPaint>(window, QString::fromLocal8Bit(path));
        else if (const char* quit = std::getenv("CALVORIN_QUIT_AT_FIRST_PAINT"); quit && *quit)
            screenshot = std::make_unique<ScreenshotOnFirstPaint>(window, QString());
        window.ShowForm();
        code = QApplication::exec();
    }
    desktop.SetWindow(nullptr);
    sink.Attach(nullptr);
    return code;
}

}  // namespace calvorin

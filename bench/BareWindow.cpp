// SPDX-License-Identifier: GPL-3.0-or-later
// bare-window: the floor of bench_window_start, an empty Qt dialog of Calvorin's size that prints when it
// was first painted and quits, as Calvorin does with CALVORIN_QUIT_AT_FIRST_PAINT.
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>

namespace {

class FirstPaint : public QObject {
  public:
    explicit FirstPaint(QWidget& window) : window_(window) { window.installEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Paint && !taken_) {
            taken_ = true;
            QTimer::singleShot(0, this, [] {
                std::printf("first-paint-ns %lld\n",
                            static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                                       std::chrono::steady_clock::now().time_since_epoch())
                                                       .count()));
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

  private:
    QWidget& window_;
    bool taken_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog window;
    window.resize(488, 608);  // the main window's client size
    FirstPaint firstPaint(window);
    window.show();
    return QApplication::exec();
}

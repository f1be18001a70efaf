// SPDX-License-Identifier: GPL-3.0-or-later
// bare-window: the floor of bench_window_start, an empty Qt dialog of Calvorin's size that quits once it
// has been painted for the first time, as Calvorin does with CALVORIN_QUIT_AT_FIRST_PAINT.
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>

namespace {

class FirstPaint : public QObject {
  public:
    explicit FirstPaint(QWidget& window) : window_(window) { window.installEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Paint && !taken_) {
            taken_ = true;
            QTimer::singleShot(0, this, [] { QCoreApplication::exit(0); });
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

// SPDX-License-Identifier: GPL-3.0-or-later
// bare-window: the floors of bench_window_start, Qt dialogs of Calvorin's size that print when they were
// first painted and quit, as Calvorin does with CALVORIN_QUIT_AT_FIRST_PAINT. Without an argument the
// dialog is empty; with --text it shows one label, the least any window with text pays (fontconfig, a
// font, shaping); with --widgets it shows the kinds of widgets Calvorin's window shows on opening (a tree,
// a page, a styled log, two buttons) with no program behind them.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <chrono>
#include <cstdio>
#include <cstring>

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

void AddWidgets(QDialog& window) {
    auto* column = new QVBoxLayout(&window);
    column->setSizeConstraint(QLayout::SetNoConstraint);  // the offscreen platform warns at each resize
    auto* row = new QHBoxLayout;
    column->addLayout(row);

    auto* tree = new QTreeWidget;
    tree->setHeaderHidden(true);
    QFont bold = QApplication::font();
    bold.setBold(true);
    auto* group = new QTreeWidgetItem(tree, {QStringLiteral("Invio formazione")});
    group->setFont(0, bold);
    for (const char* title : {"Termine invio", "Interfaccia", "Regole", "Invio e-mail", "Salvataggio su sito",
                              "Inoltro a Telegram"})
        new QTreeWidgetItem(group, {QString::fromLatin1(title)});
    for (const char* title : {"Data e orari partite Serie A", "Upload backup"})
        (new QTreeWidgetItem(tree, {QString::fromLatin1(title)}))->setFont(0, bold);
    tree->expandAll();
    row->addWidget(tree);

    auto* page = new QVBoxLayout;
    page->addWidget(new QCheckBox(QStringLiteral("Abilita invio formazione")));
    page->addWidget(new QLabel(QStringLiteral("Percorso script server-side")));
    page->addWidget(new QLineEdit(QStringLiteral("invform/invform.php")));
    page->addStretch();
    row->addLayout(page);

    auto* log = new QTextEdit;
    log->setReadOnly(true);
    log->setLineWrapMode(QTextEdit::NoWrap);
    log->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QTextCharFormat plain, strong, heading, path;
    strong.setFontWeight(QFont::Bold);
    heading = strong;
    heading.setForeground(Qt::darkBlue);
    path.setFontItalic(true);
    QTextCursor end(log->document());
    end.insertText(QStringLiteral("Calvorin"), strong);
    end.insertText(QStringLiteral(" versione 2.4.0\n------------------------\n\n"), plain);
    end.insertText(QStringLiteral("\u2022 Caricamento impostazioni di FCM\n"), heading);
    end.insertText(QStringLiteral("/home/presidente/FCM/FCM.ini\n\n"), path);
    end.insertText(QStringLiteral("\u2022 Caricamento impostazioni di Calvorin\n"), heading);
    end.insertText(QStringLiteral("/home/presidente/FCM/plugin/Calvorin_Lega.ini\n"), path);
    column->addWidget(log);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(new QPushButton(QStringLiteral("OK")));
    buttons->addWidget(new QPushButton(QStringLiteral("Annulla")));
    column->addLayout(buttons);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog window;
    window.resize(488, 608);  // the main window's client size
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0)
        new QLabel(QStringLiteral("Opzioni"), &window);
    else if (argc > 1 && std::strcmp(argv[1], "--widgets") == 0)
        AddWidgets(window);
    FirstPaint firstPaint(window);
    window.show();
    return QApplication::exec();
}

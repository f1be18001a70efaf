// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <algorithm>

#include "app/form/MainForm.h"
#include "ui/Bindings.h"
#include "ui/LogPane.h"
#include "ui/PageTreeView.h"
#include "ui/QtText.h"
#include "ui/pages/Cards.h"

namespace calvorin {
namespace {

// Client area at design; the outer width is 504 px with a Windows frame of 8 px on each side.
constexpr int kClientWidth = 488;
constexpr int kClientHeight = 608;
// The frame at design (8 px each side, 39 px of caption bar and bottom edge), until the window system
// tells, which it does once the window is shown.
constexpr QSize kFrameSize(16, 39);
constexpr int kMargin = 12;
constexpr int kSpacing = 8;
constexpr int kTreeWidth = 180;
constexpr int kLogHeight = 246;
constexpr int kButtonHeight = 25;
// What is left for the tree and the pages at the design size; the log takes any change of height.
constexpr int kSettingsHeight = kClientHeight - 2 * kMargin - kLogHeight - kButtonHeight - 2 * kSpacing;
// The least the log and the settings shrink to on a short screen, in lines of their fonts.
constexpr int kMinLogLines = 5;
constexpr int kMinSettingsLines = 4;

using CardBuilder = QWidget* (*)(TMainForm&, QWidget*);

// The tree and the cards. Its height for a width is what the tallest card built so far needs beside the
// tree: Qt's own measure takes each card at its narrowest, where a wrapping check box is many lines tall,
// and would make the settings scroll at the design size.
class SettingsPanel : public QWidget {
  public:
    void SetParts(const QWidget* tree, const QStackedWidget* cards) {
        tree_ = tree;
        cards_ = cards;
    }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override {
        if (!tree_ || !cards_) return QWidget::heightForWidth(width);
        int height = tree_->minimumSizeHint().height();
        const int cardWidth = width - tree_->width() - kSpacing;
        for (int i = 0; i < cards_->count(); ++i) {
            const QWidget* card = cards_->widget(i);
            height = std::max(height, card->hasHeightForWidth() ? card->heightForWidth(cardWidth)
                                                                : card->minimumSizeHint().height());
        }
        return height;
    }
    // At the width of the scroll area's view, which it is given.
    QSize minimumSizeHint() const override {
        QSize least = QWidget::minimumSizeHint();
        const int width = parentWidget() ? parentWidget()->width() : this->width();
        least.setHeight(heightForWidth(std::max(least.width(), width)));
        return least;
    }

  private:
    const QWidget* tree_ = nullptr;
    const QStackedWidget* cards_ = nullptr;
};

// Cards by the names the tree's nodes give them.
const std::pair<const char*, CardBuilder> kCards[] = {
    {"GeneraleCard", BuildGeneraleCard},
    {"InvioFormazioneCard", BuildInvioFormazioneCard},
    {"IfTermineInvioCard", BuildTermineInvioCard},
    {"IfInterfacciaCard", BuildInterfacciaCard},
    {"IfRegoleCard", BuildRegoleCard},
    {"IfEMailCard", BuildEMailCard},
    {"IfSalvataggioSitoCard", BuildSalvataggioSitoCard},
    {"IfTelegramCard", BuildTelegramCard},
    {"DateOrariSerieACard", BuildDateOrariCard},
    {"BackupCard", BuildBackupCard},
};

}  // namespace

MainWindow::MainWindow() : QDialog(nullptr), log_(new LogPane(this)), progress_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedWidth(kClientWidth);
    resize(kClientWidth, kClientHeight);
}

MainWindow::~MainWindow() = default;

void MainWindow::Build(TMainForm& form) {
    form_ = &form;
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column->setSpacing(kSpacing);
    // Scrolls only when the screen is too short for the settings at the font in use.
    settingsScroll_ = new QScrollArea(this);
    settingsScroll_->setObjectName(QStringLiteral("SettingsScrollArea"));
    settingsScroll_->setFrameShape(QFrame::NoFrame);
    settingsScroll_->setFocusPolicy(Qt::NoFocus);  // no tab stop of its own before the tree
    settingsScroll_->setWidgetResizable(true);
    settingsScroll_->setWidget(BuildSettingsArea(form));
    column->addWidget(settingsScroll_);
    // Tab may reach a control scrolled out of view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && settingsArea_->isAncestorOf(now)) settingsScroll_->ensureWidgetVisible(now);
    });
    const int logFrame = 2 * log_->frameWidth() + 2 * static_cast<int>(log_->document()->documentMargin());
    log_->setMinimumHeight(kMinLogLines * log_->fontMetrics().lineSpacing() + logFrame);
    column->addWidget(log_, 1);
    progress_->setTextVisible(true);
    progress_->setVisible(false);
    column->addWidget(progress_);
    buttonRow_ = BuildButtonRow(form);
    column->addLayout(buttonRow_);
}

QWidget* MainWindow::BuildSettingsArea(TMainForm& form) {
    auto* area = new SettingsPanel;
    settingsArea_ = area;
    auto* row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kSpacing);
    cards_ = new QStackedWidget(area);
    cards_->setObjectName(QStringLiteral("CardPanel"));
    tree_ = new PageTreeView(
        form.TreeView, [&form](int index) { return form.SelectNode(index); }, cards_, area);
    tree_->setFixedWidth(kTreeWidth);
    area->SetParts(tree_, cards_);
    for (const auto& [name, build] : kCards) {
        tree_->AddCard(name, [this, &form, build = build] {
            QWidget* card = build(form, cards_);
            KeepButtonsLastInTabOrder();
            return card;
        });
    }
    row->addWidget(tree_);
    row->addWidget(cards_, 1);
    return area;
}

QLayout* MainWindow::BuildButtonRow(TMainForm& form) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    okButton_ = MakePushButton(form.OkButton, this);
    cancelButton_ = MakePushButton(form.CancelButton, this);
    for (QPushButton* widget : {okButton_, cancelButton_}) {
        widget->setMinimumHeight(kButtonHeight);
        row->addWidget(widget);
    }
    okButton_->setDefault(true);
    return row;
}

// A card built after the buttons would come after them in the tab order, as Qt appends new widgets to
// the end of the window's focus chain: the buttons go back to the end.
void MainWindow::KeepButtonsLastInTabOrder() {
    if (!okButton_ || !cancelButton_) return;
    QWidget* last = previousInFocusChain();
    if (last == cancelButton_) return;
    setTabOrder(last, okButton_);
    setTabOrder(okButton_, cancelButton_);
}

void MainWindow::ShowForm() {
    setWindowTitle(ToQString(form_->Caption));
    if (QScreen* shown = screen()) {
        const QRect free = shown->availableGeometry();
        FitToScreen(free.size());
        // The frame, caption included, is what must fit: it is what move() places.
        const QSize outer = size() + FrameSize();
        move(free.left() + std::max(0, (free.width() - outer.width()) / 2),
             free.top() + std::max(0, (free.height() - outer.height()) / 2));
    }
    show();
}

QSize MainWindow::FrameSize() const {
    const QSize frame = frameGeometry().size() - geometry().size();
    return frame.width() > 0 && frame.height() > 0 ? frame : kFrameSize;
}

void MainWindow::FitToScreen(QSize available) {
    ensurePolished();
    const QSize room = available - FrameSize();
    // The longest title on one line, which a larger font makes longer.
    const QAbstractItemView& titles = *tree_;
    tree_->setFixedWidth(std::max(kTreeWidth, titles.sizeHintForColumn(0) + 2 * tree_->frameWidth()));
    // Never narrower than at design; wider when a larger font widens the cards, as far as there is room.
    const int widest = std::max(kClientWidth, room.width());
    const int settingsWidth = settingsArea_->minimumSizeHint().width();
    int width = std::min(std::max(kClientWidth, settingsWidth + 2 * kMargin), widest);
    // All but the settings and the log, the progress bar included: when it shows, it takes its height
    // from the log, which must still keep its least height.
    const int rest =
        2 * kMargin + 3 * kSpacing + progress_->sizeHint().height() + buttonRow_->sizeHint().height();
    const int logLeast = log_->minimumHeight();
    const int settingsLeast = kMinSettingsLines * fontMetrics().lineSpacing();
    const int settingsWanted = std::max(kSettingsHeight, settingsArea_->heightForWidth(width - 2 * kMargin));
    const int wanted =
        std::max(kClientHeight + settingsWanted - kSettingsHeight, rest + settingsWanted + logLeast);
    const int height = std::max(std::min(wanted, room.height()), rest + settingsLeast + logLeast);
    const int settings = std::clamp(height - rest - logLeast, settingsLeast, settingsWanted);
    // Room for the scroll bar beside the settings, rather than a second one below them.
    if (settings < settingsWanted) {
        const int bar = settingsScroll_->verticalScrollBar()->sizeHint().width();
        width = std::min(std::max(width, settingsWidth + bar + 2 * kMargin), widest);
    }
    setFixedWidth(width);
    settingsScroll_->setFixedHeight(settings);
    setMinimumHeight(rest + settings + logLeast);
    resize(width, height);
}

void MainWindow::BuildAllPages() {
    if (tree_) tree_->BuildAllCards();
}

bool MainWindow::AllPagesBuilt() const {
    return tree_ && tree_->AllCardsBuilt();
}

void MainWindow::ShowRunning(bool running) {
    // The containers, not the controls: each control keeps the enabled state the form's rules gave it.
    if (settingsArea_) settingsArea_->setEnabled(!running);
    if (okButton_) okButton_->setEnabled(!running && form_ && form_->OkButton.Enabled());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Not QDialog's own handler: it would call reject(), that is "Annulla", again. During a run the form
    // asks whether to stop it, and the window stays.
    if (form_ && !form_->CloseRequested()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void MainWindow::reject() {
    if (form_) form_->CancelButton.Click();
}

}  // namespace calvorin

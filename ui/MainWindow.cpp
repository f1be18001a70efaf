// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>

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
// The outer height may not go below 448 px: less the 39 px of caption bar and bottom frame.
constexpr int kMinClientHeight = 448 - 39;
constexpr int kMargin = 12;
constexpr int kSpacing = 8;
constexpr int kTreeWidth = 180;
constexpr int kLogHeight = 246;
constexpr int kButtonHeight = 25;
// What is left for the tree and the pages at the design size; the log takes any change of height.
constexpr int kSettingsHeight = kClientHeight - 2 * kMargin - kLogHeight - kButtonHeight - 2 * kSpacing;

using CardBuilder = QWidget* (*)(TMainForm&, QWidget*);

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
    setMinimumHeight(kMinClientHeight);
    resize(kClientWidth, kClientHeight);
}

MainWindow::~MainWindow() = default;

void MainWindow::Build(TMainForm& form) {
    form_ = &form;
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column->setSpacing(kSpacing);
    column->addWidget(BuildSettingsArea(form));
    log_->setMinimumHeight(3 * log_->fontMetrics().height());
    column->addWidget(log_, 1);
    progress_->setTextVisible(true);
    progress_->setVisible(false);
    column->addWidget(progress_);
    column->addLayout(BuildButtonRow(form));
}

QWidget* MainWindow::BuildSettingsArea(TMainForm& form) {
    auto* area = new QWidget(this);
    settingsArea_ = area;
    area->setFixedHeight(kSettingsHeight);
    auto* row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kSpacing);
    cards_ = new QStackedWidget(area);
    cards_->setObjectName(QStringLiteral("CardPanel"));
    tree_ = new PageTreeView(
        form.TreeView, [&form](int index) { return form.SelectNode(index); }, cards_, area);
    tree_->setFixedWidth(kTreeWidth);
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
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
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

// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Data e orari partite Serie A": the export switch, the start-time grid and its tool bar.
#include <QBoxLayout>
#include <QFrame>
#include <QTableWidget>
#include <QToolButton>

#include "app/form/MainForm.h"
#include "ui/Bindings.h"
#include "ui/StartTimeGrid.h"
#include "ui/pages/Cards.h"

namespace calvorin {
namespace {

// The vertical tool bar beside the grid: update, a separator, update settings.
QWidget* ToolBar(DateOrariPage& page, QWidget* parent) {
    auto* bar = new QWidget(parent);
    bar->setObjectName(QStringLiteral("DoToolBar"));
    auto* column = new QVBoxLayout(bar);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(MakeToolButton(page.DoAggiornaButton, QStyle::SP_BrowserReload, bar));
    auto* separator = new QFrame(bar);
    separator->setObjectName(QStringLiteral("DoSeparator1Button"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    column->addWidget(separator);
    column->addWidget(MakeToolButton(page.DoImpostazioniButton, QStyle::SP_FileDialogDetailedView, bar));
    column->addStretch();
    return bar;
}

}  // namespace

QWidget* BuildDateOrariCard(TMainForm& form, QWidget* parent) {
    auto& page = form.DateOrari;
    auto* card = new QWidget(parent);
    auto* column = CardColumn(card);
    column->addWidget(MakeCheckBox(page.EsportaDateOrariCheckBox, card));
    GridHandlers handlers{[&form](int c, int r) { return form.DoOrariEditorGetEditMask(c, r); },
                          [&form](int c, int r, const std::string& key, const std::string& value) {
                              return form.DoOrariEditorValidate(c, r, key, value);
                          }};
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(MakeKeyValueGrid(page.DoOrariEditor, std::move(handlers), card), 1);
    row->addWidget(ToolBar(page, card));
    column->addLayout(row, 1);
    return card;
}

}  // namespace calvorin

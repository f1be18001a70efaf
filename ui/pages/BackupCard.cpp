// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Upload backup": the backup and export switches with their sources, password and names.
#include <QBoxLayout>
#include <QGroupBox>

#include "app/form/MainForm.h"
#include "ui/Bindings.h"
#include "ui/EditBinding.h"
#include "ui/pages/Cards.h"

namespace calvorin {
namespace {

QGroupBox* BackupSource(BackupPage& page, QWidget* parent) {
    QGroupBox* group = MakeGroupBox(page.BkSorgenteGroupBox, parent);
    auto* column = new QVBoxLayout(group);
    auto* row = new QHBoxLayout;
    row->addWidget(MakeCheckBox(page.BkUltimoCheckBox, group));
    row->addWidget(MakeCheckBox(page.BkSoloLegaCheckBox, group));
    column->addLayout(row);
    column->addWidget(MakeEdit(page.BkDirEdit, group).box);
    return group;
}

QGroupBox* ExportSource(BackupPage& page, QWidget* parent) {
    QGroupBox* group = MakeGroupBox(page.EsSorgenteGroupBox, parent);
    auto* column = new QVBoxLayout(group);
    EditOptions options;
    options.buttonIcon = QStyle::SP_FileIcon;
    column->addWidget(MakeEdit(page.EsFilenameEdit, group, options).box);
    return group;
}

}  // namespace

QWidget* BuildBackupCard(TMainForm& form, QWidget* parent) {
    auto& page = form.Backup;
    auto* card = new QWidget(parent);
    auto* column = CardColumn(card);
    column->addWidget(MakeCheckBox(page.BackupCheckBox, card));
    column->addWidget(BackupSource(page, card));
    column->addWidget(MakeCheckBox(page.EsportazioneCheckBox, card));
    column->addWidget(ExportSource(page, card));
    column->addWidget(MakeEdit(page.BackupPasswordEdit, card).box);
    column->addWidget(MakeCheckBox(page.BackupNomiCasualiCheckBox, card));
    column->addStretch();
    return card;
}

}  // namespace calvorin

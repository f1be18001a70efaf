// SPDX-License-Identifier: GPL-3.0-or-later
// One builder per settings page: the card widget with its controls bound to the form.
#pragma once

class QVBoxLayout;
class QWidget;

namespace calvorin {

class TMainForm;

// Each returns a new card, child of `parent`, whose widgets are named after the form's controls.
QWidget* BuildGeneraleCard(TMainForm& form, QWidget* parent);
QWidget* BuildInvioFormazioneCard(TMainForm& form, QWidget* parent);
QWidget* BuildTermineInvioCard(TMainForm& form, QWidget* parent);
QWidget* BuildInterfacciaCard(TMainForm& form, QWidget* parent);
QWidget* BuildRegoleCard(TMainForm& form, QWidget* parent);
QWidget* BuildEMailCard(TMainForm& form, QWidget* parent);
QWidget* BuildSalvataggioSitoCard(TMainForm& form, QWidget* parent);
QWidget* BuildTelegramCard(TMainForm& form, QWidget* parent);
QWidget* BuildDateOrariCard(TMainForm& form, QWidget* parent);
QWidget* BuildBackupCard(TMainForm& form, QWidget* parent);

// The column every card (and every tab or group inside one) lays its controls out in.
QVBoxLayout* CardColumn(QWidget* widget);

}  // namespace calvorin

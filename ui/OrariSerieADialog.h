// SPDX-License-Identifier: GPL-3.0-or-later
// The view of the update-settings dialog (service URL, its check, the start-up switch).
#pragma once

#include <QDialog>

namespace calvorin {

class OrariSerieAForm;

// A fixed-size modal dialog centred on `parent`, bound to `form` (which must outlive it). Typing in the
// URL box goes through SetUrlText; its button verifies the URL; OK accepts, Annulla and Escape reject.
class OrariSerieADialog : public QDialog {
  public:
    OrariSerieADialog(OrariSerieAForm& form, QWidget* parent);
};

}  // namespace calvorin

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/QtDesktop.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "platform/text/VisibleControls.h"
#include "plugin/PluginContext.h"
#include "ui/MainWindow.h"
#include "ui/OrariSerieADialog.h"
#include "ui/QtText.h"

namespace calvorin {
namespace {

std::optional<std::string> Chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return ToUtf8(QDir::toNativeSeparators(path));
}

QString QtFilterEntry(const QString& description, const QString& patterns) {
    QString spaced = QString(patterns).replace(QLatin1Char(';'), QLatin1Char(' '));
    QString bracketed = QStringLiteral("(%1)").arg(spaced);
    return description.endsWith(bracketed) ? description : description + QLatin1Char(' ') + bracketed;
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
    QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) entries << QtFilterEntry(parts[i], parts[i + 1]);
    return entries.join(QStringLiteral(";;"));
}

void QtDesktop::ShowError(const std::string& message) {
    // Messages carry paths and names from outside: shown as plain text, never read as markup.
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kApplicationTitle),
                    ToQString(VisibleControls(message, true)), QMessageBox::Ok, window_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtDesktop::SetBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void QtDesktop::ShowRunning(bool running) {
    // The arrow with the hourglass: the window still takes "Annulla" while it works.
    if (running) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
    if (window_) window_->ShowRunning(running);
}

bool QtDesktop::Confirm(const std::string& question) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kApplicationTitle),
                    ToQString(VisibleControls(question, true)), QMessageBox::Yes | QMessageBox::No, window_);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Sì"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtDesktop::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

std::optional<std::string> QtDesktop::BrowseFolder(const std::string& title, const std::string& start) {
    return Chosen(QFileDialog::getExistingDirectory(window_, ToQString(title), ToQString(start)));
}

std::optional<std::string> QtDesktop::OpenFile(const std::string& filter, const std::string&,
                                               const std::string& folder, const std::string& file) {
    // The default extension only matters for names typed without one; an open dialog takes existing files.
    QString start = file.empty() ? ToQString(folder) : QDir(ToQString(folder)).filePath(ToQString(file));
    return Chosen(QFileDialog::getOpenFileName(window_, QString(), start, QtFileFilter(filter)));
}

bool QtDesktop::ShowModal(OrariSerieAForm& dialog) {
    OrariSerieADialog view(dialog, window_);
    return view.exec() == QDialog::Accepted;
}

void QtDesktop::CloseMainWindow() {
    if (window_) window_->close();
}

}  // namespace calvorin

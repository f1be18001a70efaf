// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Appearance.h"

#include <QApplication>
#include <QFontDatabase>
#include <QProxyStyle>

#include <optional>

namespace calvorin {
namespace {

constexpr int kPointSize = 9;

// Qt's own password character depends on the style; the window always shows "●" (U+25CF).
class PasswordDotStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return 0x25CF;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// The first family installed, else the first that fontconfig maps to an installed one (Arial to Arimo,
// say), else the system's font of that kind; always at 9 pt. Names are first looked up in the list of
// installed families: asking fontconfig about each name (hasFamily) costs more than the rest of the
// window's start-up.
QFont PreferredFont(std::initializer_list<const char*> families, QFontDatabase::SystemFont fallback) {
    const QStringList installed = QFontDatabase::families();
    const auto pick = [&](const auto& present) -> std::optional<QString> {
        for (const char* family : families)
            if (present(QString::fromLatin1(family))) return QString::fromLatin1(family);
        return std::nullopt;
    };
    std::optional<QString> family =
        pick([&](const QString& name) { return installed.contains(name, Qt::CaseInsensitive); });
    if (!family) family = pick([](const QString& name) { return QFontDatabase::hasFamily(name); });
    QFont font = family ? QFont(*family) : QFontDatabase::systemFont(fallback);
    font.setPointSize(kPointSize);
    return font;
}

}  // namespace

void ApplyAppearance(QApplication& app) {
    app.setStyle(new PasswordDotStyle);  // the application takes ownership
    // Segoe UI's free look-alike first, then sans fonts of about its width: the pages are laid out for it.
    QApplication::setFont(PreferredFont(
        {"Segoe UI", "Selawik", "Noto Sans", "Liberation Sans", "Arial", "DejaVu Sans Condensed"},
        QFontDatabase::GeneralFont));
    QApplication::setWindowIcon(AppIcon());
}

QIcon AppIcon() {
    // A PNG, which Qt reads without an image plug-in; the SVG would need Qt's SVG module.
    return QIcon(QStringLiteral(":/calvorin/calvorin.png"));
}

QFont LogFont() {
    // Asking fontconfig for a family that is not installed is slow: once is enough. The family is kept,
    // not the font, which must not outlive the application.
    static const QString family = PreferredFont({"Consolas"}, QFontDatabase::FixedFont).family();
    QFont font(family);
    font.setPointSize(kPointSize);
    font.setStyleHint(QFont::Monospace);
    return font;
}

}  // namespace calvorin

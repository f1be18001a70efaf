// SPDX-License-Identifier: GPL-3.0-or-later
// The typing rules of a field edited through a form edit mask.
#include "app/form/MaskedInput.h"

#include <algorithm>
#include <optional>

namespace calvorin {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

MaskedText At(std::string text, std::size_t cursor) {
    return {std::move(text), cursor, cursor};
}

}  // namespace

MaskedInput::MaskedInput(std::string_view formMask) {
    std::string literals;  // the run since the last digit letter
    bool afterDigit = false;
    for (std::size_t i = 0; i < formMask.size() && formMask[i] != ';'; ++i) {
        char c = formMask[i];
        if (c == '\\' && i + 1 < formMask.size()) {
            literals += formMask[++i];
            afterDigit = false;
        } else if (c == '0' || c == '9') {
            if (!afterDigit) {
                if (!fields_.empty()) fields_.back().separator = literals;
                fields_.emplace_back();
                literals.clear();
            }
            ++fields_.back().most;
            if (c == '0') ++fields_.back().least;
            afterDigit = true;
        } else {
            literals += c;
            afterDigit = false;
        }
    }
}

bool MaskedInput::Split(std::string_view text, Layout& layout) const {
    layout.starts.clear();
    layout.ends.clear();
    std::size_t pos = 0;
    for (const Field& field : fields_) {
        layout.starts.push_back(pos);
        while (pos < text.size() && IsDigit(text[pos]) && pos - layout.starts.back() < field.most) ++pos;
        layout.ends.push_back(pos);
        if (pos == text.size()) return true;
        if (field.separator.empty() || text.substr(pos, field.separator.size()) != field.separator)
            return false;
        pos += field.separator.size();
    }
    return text.empty();
}

bool MaskedInput::Fits(std::string_view text) const {
    Layout layout;
    return Split(text, layout);
}

MaskedText MaskedInput::EraseSelection(const MaskedText& state) const {
    std::string text = state.text;
    std::size_t from = std::min({state.cursor, state.anchor, text.size()});
    std::size_t to = std::min(std::max(state.cursor, state.anchor), text.size());
    if (to == text.size()) {
        // A cut inside a separator would leave a piece of it: the field before it ends the text instead.
        Layout layout;
        if (Split(text, layout))
            for (std::size_t i = 0; i + 1 < layout.starts.size(); ++i)
                if (layout.ends[i] < from && from < layout.starts[i + 1]) from = layout.ends[i];
        text.resize(from);
        return At(std::move(text), from);
    }
    // Separators stay, so the fields after the selection keep their places.
    std::string kept = text.substr(0, from);
    for (std::size_t i = from; i < to; ++i)
        if (!IsDigit(text[i])) kept += text[i];
    kept += text.substr(to);
    return At(std::move(kept), from);
}

std::optional<MaskedText> MaskedInput::TypeAt(const MaskedText& state, char typed) const {
    Layout layout;
    if (fields_.empty() || !Split(state.text, layout)) return std::nullopt;
    std::string text = state.text;
    std::size_t cursor = std::min(state.cursor, text.size());
    std::size_t k = 0;
    while (k + 1 < layout.starts.size() && layout.starts[k + 1] <= cursor) ++k;
    if (cursor > layout.ends[k]) cursor = layout.starts[++k];  // inside a separator: the next field
    auto digits = [&layout](std::size_t i) { return layout.ends[i] - layout.starts[i]; };
    bool nextPresent = k + 1 < layout.starts.size();

    if (IsDigit(typed)) {
        if (digits(k) < fields_[k].most) {
            text.insert(cursor, 1, typed);
            return At(std::move(text), cursor + 1);
        }
        if (cursor != layout.ends[k] || k + 1 == fields_.size()) return std::nullopt;
        if (nextPresent) {
            if (digits(k + 1) >= fields_[k + 1].most) return std::nullopt;
            text.insert(layout.starts[k + 1], 1, typed);
            return At(std::move(text), layout.starts[k + 1] + 1);
        }
        text += fields_[k].separator;
        text += typed;
        const std::size_t end = text.size();
        return At(std::move(text), end);
    }
    if (k + 1 == fields_.size() || typed != fields_[k].separator.front()) return std::nullopt;
    if (nextPresent) return At(std::move(text), layout.starts[k + 1]);
    if (digits(k) < fields_[k].least) return std::nullopt;
    text += fields_[k].separator;
    const std::size_t end = text.size();
    return At(std::move(text), end);
}

MaskedText MaskedInput::Type(const MaskedText& state, char typed) const {
    std::optional<MaskedText> typedIn = TypeAt(EraseSelection(state), typed);
    return typedIn ? *typedIn : state;
}

MaskedText MaskedInput::Paste(const MaskedText& state, std::string_view pasted) const {
    MaskedText result = EraseSelection(state);
    bool taken = false;
    for (char c : pasted)
        if (std::optional<MaskedText> next = TypeAt(result, c)) {
            result = std::move(*next);
            taken = true;
        }
    return taken ? result : state;
}

MaskedText MaskedInput::Backspace(const MaskedText& state) const {
    if (state.cursor != state.anchor) return EraseSelection(state);
    std::string text = state.text;
    std::size_t cursor = std::min(state.cursor, text.size());
    if (cursor == 0) return At(std::move(text), 0);
    Layout layout;
    if (IsDigit(text[cursor - 1]) || !Split(text, layout)) {
        text.erase(cursor - 1, 1);
        return At(std::move(text), cursor - 1);
    }
    // The character before the cursor belongs to the separator after field i.
    std::size_t i = 0;
    while (layout.starts[i + 1] < cursor) ++i;
    if (layout.starts[i + 1] == text.size()) text.resize(layout.ends[i]);
    return At(std::move(text), layout.ends[i]);
}

MaskedText MaskedInput::Delete(const MaskedText& state) const {
    if (state.cursor != state.anchor) return EraseSelection(state);
    std::string text = state.text;
    std::size_t cursor = std::min(state.cursor, text.size());
    if (cursor == text.size()) return At(std::move(text), cursor);
    Layout layout;
    if (IsDigit(text[cursor]) || !Split(text, layout)) {
        text.erase(cursor, 1);
        return At(std::move(text), cursor);
    }
    // The character at the cursor belongs to the separator after field i.
    std::size_t i = 0;
    while (layout.starts[i + 1] <= cursor) ++i;
    if (layout.starts[i + 1] == text.size()) {
        text.resize(layout.ends[i]);
        return At(std::move(text), layout.ends[i]);
    }
    return At(std::move(text), layout.starts[i + 1]);
}

}  // namespace calvorin

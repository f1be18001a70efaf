// SPDX-License-Identifier: GPL-3.0-or-later
// The typing rules of a field edited through a form edit mask, the same for every view.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace calvorin {

// An editor's text with its cursor and the other end of its selection (equal to the cursor when nothing is
// selected). Positions count bytes of the text.
struct MaskedText {
    std::string text;
    std::size_t cursor = 0;
    std::size_t anchor = 0;

    bool operator==(const MaskedText&) const = default;
};

// A form edit mask read as fields of digits between fixed separators: "0" a required digit, "9" an optional
// one, "\" makes the next character literal, every other character is literal, the ";..." sections are
// dropped. A run of digit letters is a field, a run of literals the separator that closes the field before
// it; literals before the first field or after the last are never typed. In "90\/90\/0000 90\:90"
// day and month take one or two digits, the year four, and " " closes the year.
//
// The text is the fields as typed, each closed by its separator, and may stop anywhere: "1/9/2019 9:5",
// "24/08/". Digits go into the field at the cursor; a full field passes a digit typed at its end on to the
// next one. Typing a field's separator moves to the next field, adding the separator at the end of the text
// once the field has its required digits. A key the rules refuse leaves text, cursor and selection as they
// were; any other result has nothing selected. Whether the text is a valid value is for the form to say when
// it is committed.
class MaskedInput {
  public:
    explicit MaskedInput(std::string_view formMask);

    // False for a mask without digits, which these rules cannot shape: its editor takes text freely.
    bool HasFields() const { return !fields_.empty(); }

    // True when the text is a possible result of these rules.
    bool Fits(std::string_view text) const;

    // One typed character; the selection, if any, is erased first.
    MaskedText Type(const MaskedText& state, char typed) const;
    // Pasted text, typed character by character after erasing the selection; refused characters are
    // skipped.
    MaskedText Paste(const MaskedText& state, std::string_view pasted) const;
    // Erases the selection, or else the digit before (Backspace) or after (Delete) the cursor. Over a
    // separator the cursor only moves, unless the separator ends the text: then it goes.
    MaskedText Backspace(const MaskedText& state) const;
    MaskedText Delete(const MaskedText& state) const;
    // Erases the selected digits, keeping the separators between them; a selection that reaches the end
    // cuts the text there.
    MaskedText EraseSelection(const MaskedText& state) const;

  private:
    struct Field {
        std::size_t least = 0;  // required digits
        std::size_t most = 0;
        std::string separator;  // closes the field; empty for the last
    };
    // Where each present field lies: fields[i] starts at starts[i]; the digits are text[starts[i], ends[i]).
    struct Layout {
        std::vector<std::size_t> starts, ends;
    };
    bool Split(std::string_view text, Layout& layout) const;
    // Nothing when the rules refuse the character.
    std::optional<MaskedText> TypeAt(const MaskedText& state, char typed) const;

    std::vector<Field> fields_;
};

}  // namespace calvorin

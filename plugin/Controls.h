// SPDX-License-Identifier: GPL-3.0-or-later
// Toolkit-neutral controls: the state a window shows and the program reads, with change notification.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace calvorin {

// State shared by every control. A view subscribes with `viewChanged` to mirror the control; the form
// model never looks at the view.
class Control {
  public:
    explicit Control(std::string name) : name_(std::move(name)) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    const std::string& Name() const { return name_; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { Set(enabled_, enabled); }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { Set(visible_, visible); }
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint) { Set(hint_, std::move(hint)); }
    const std::string& Text() const { return text_; }
    void SetText(std::string text) { Set(text_, std::move(text)); }

    std::function<void()> viewChanged;  // the view's mirror

  protected:
    template <typename T>
    bool Set(T& field, T value) {
        if (field == value) return false;
        field = std::move(value);
        Notify();
        return true;
    }
    void Notify() {
        if (viewChanged) viewChanged();
    }

  private:
    std::string name_;
    std::string text_;
    std::string hint_;
    bool enabled_ = true;
    bool visible_ = true;
};

// A tick box. Every change of state, by the user or by the program, runs `onClick` (the form's rule).
class CheckBox : public Control {
  public:
    using Control::Control;
    bool Checked() const { return checked_; }
    void SetChecked(bool checked) {
        if (Set(checked_, checked) && onClick) onClick();
    }
    std::function<void()> onClick;

  private:
    bool checked_ = false;
};

// A one-line text field. Its caption is the label beside it; `Text()` is the value.
class Edit : public Control {
  public:
    using Control::Control;
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption) { Set(caption_, std::move(caption)); }
    bool Password() const { return password_; }
    void SetPassword(bool on) { Set(password_, on); }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on) { Set(readOnly_, on); }
    // Shown in red when false (a source that does not exist), else in the normal colour.
    bool NormalColor() const { return normalColor_; }
    void SetNormalColor(bool on) { Set(normalColor_, on); }
    // The browse button at the right end, where there is one.
    bool HasButton() const { return hasButton_; }
    void SetHasButton(bool on) { Set(hasButton_, on); }
    bool ButtonEnabled() const { return buttonEnabled_; }
    void SetButtonEnabled(bool on) { Set(buttonEnabled_, on); }
    std::function<void()> onButtonClick;

  private:
    std::string caption_;
    bool password_ = false, readOnly_ = false, normalColor_ = true, hasButton_ = false, buttonEnabled_ = true;
};

// A spin box of integers; values outside the range are clamped to the nearer bound.
class NumberBox : public Control {
  public:
    NumberBox(std::string name, int min, int max, int smallStep, int largeStep)
        : Control(std::move(name)), min_(min), max_(max), smallStep_(smallStep), largeStep_(largeStep) {}
    int Value() const { return value_; }
    void SetValue(long long value) {
        Set(value_, static_cast<int>(value < min_ ? min_ : value > max_ ? max_ : value));
    }
    int Min() const { return min_; }
    int Max() const { return max_; }
    int SmallStep() const { return smallStep_; }
    int LargeStep() const { return largeStep_; }

  private:
    int value_ = 0;
    int min_, max_, smallStep_, largeStep_;
};

// A drop-down list that accepts only its items; -1 means nothing chosen.
class ComboBox : public Control {
  public:
    ComboBox(std::string name, std::vector<std::string> items)
        : Control(std::move(name)), items_(std::move(items)) {}
    const std::vector<std::string>& Items() const { return items_; }
    int ItemIndex() const { return itemIndex_; }
    // Set by the program: runs no handler. An index outside the items means nothing chosen.
    void SetItemIndex(int index) {
        Set(itemIndex_, index >= 0 && index < static_cast<int>(items_.size()) ? index : -1);
    }
    // A choice made by the user: sets the index and runs `onChange`.
    void UserSelect(int index) {
        SetItemIndex(index);
        if (onChange) onChange();
    }
    std::function<void()> onChange;

  private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
};

// Label, link, group box, tab control or button: a control with text, hint and state only.
class Button : public Control {
  public:
    using Control::Control;
    std::function<void()> onClick;
    void Click() {
        if (Enabled() && onClick) onClick();
    }
};
using Label = Control;
using GroupBox = Control;

// A set of cards of which one is shown.
class CardPanel : public Control {
  public:
    using Control::Control;
    int ActiveCard() const { return active_; }
    void SetActiveCard(int index) { Set(active_, index); }

  private:
    int active_ = 0;
};

// A two-column key/value grid with a fixed title row and key column.
class KeyValueGrid : public Control {
  public:
    KeyValueGrid(std::string name, std::string keyTitle, std::string valueTitle)
        : Control(std::move(name)), keyTitle_(std::move(keyTitle)), valueTitle_(std::move(valueTitle)) {}
    const std::string& KeyTitle() const { return keyTitle_; }
    const std::string& ValueTitle() const { return valueTitle_; }
    const std::vector<std::pair<std::string, std::string>>& Rows() const { return rows_; }
    // Replaces the value of the row with this key, or appends the row.
    void SetValue(const std::string& key, std::string value);
    // Value of a row by 1-based row number, "" past the end.
    std::string ValueAt(int row) const;
    void SetValueAt(int row, std::string value);

  private:
    std::string keyTitle_, valueTitle_;
    std::vector<std::pair<std::string, std::string>> rows_;
};

}  // namespace calvorin

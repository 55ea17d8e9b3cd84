#pragma once

#include <array>
#include <string>
#include <string_view>

#include "listview/AddressValue.h"

namespace quorrel {

// The behaviour of a four-field IPv4 address control, without any widget. A widget owns
// one, forwards the user's keys to it and paints fields(), currentField() and caret().
//
// Each field holds up to three digits or nothing (blank). Typing moves on by itself when
// a field is full: three digits, or a value that a further digit would push past the
// field's maximum. A number above the maximum becomes the maximum at once; a number below
// the minimum becomes the minimum when the caret leaves the field.
class AddressFieldModel {
public:
    static constexpr int kFieldCount = 4;

    struct Range {
        int min = 0;
        int max = 255;
    };

    // --- content
    void clear();
    // Sets all four fields from a value; 0 blanks the control. Ranges are not applied, as
    // with an address that the program sets.
    void setAddress(AddressValue value);
    // The address, blank fields counting as 0.
    AddressValue value() const;
    bool isBlank() const;
    bool isFieldBlank(int field) const { return fields_[at(field)].empty(); }
    const std::array<std::string, kFieldCount>& fields() const { return fields_; }

    void setRange(int field, Range range);
    Range range(int field) const { return ranges_[at(field)]; }

    // A disabled control takes no keys.
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool enabled() const { return enabled_; }

    // --- keys. Each returns whether the key was taken (false: the widget may beep).
    bool typeDigit(char digit);
    bool typeDot();
    bool backspace();
    bool moveLeft();
    bool moveRight();
    // A dotted address fills all four fields; digits alone are typed one by one.
    bool paste(std::string_view text);

    // --- focus
    // The control gains the focus in a field (a click, or Tab into field 0): the field's
    // text is selected, so typing replaces it.
    void enterField(int field);
    // The control loses the focus: the field being left is completed.
    void leave();

    int currentField() const { return current_; }
    int caret() const { return caret_; }
    // Whether the whole current field is selected.
    bool fieldSelected() const { return selected_; }

private:
    // The place of field number `field` (0 to kFieldCount - 1) in the arrays.
    static std::size_t at(int field) { return static_cast<std::size_t>(field); }
    int fieldValue(int field) const;
    void completeField(int field);
    void goToField(int field, bool selectIt);

    std::array<std::string, kFieldCount> fields_{};
    std::array<Range, kFieldCount> ranges_{};
    bool enabled_ = true;
    int current_ = 0;
    int caret_ = 0;
    bool selected_ = false;
    // Set when typing moved on by itself: the "." that the user types next out of habit
    // is swallowed instead of skipping a field.
    bool justAdvanced_ = false;
};

}  // namespace quorrel

#include "listview/AddressFieldModel.h"

#include <algorithm>
#include <cstddef>

namespace quorrel {

namespace {

constexpr std::size_t kFieldDigits = 3;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int numberOf(const std::string& digits) {
    int value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// Splits "a.b.c.d" into four decimal fields of one to three digits each, or nothing.
bool splitDottedFields(std::string_view text, std::array<int, 4>& out) {
    std::size_t field = 0;
    std::size_t digits = 0;
    int value = 0;
    for (char c : text) {
        if (c == '.') {
            if (digits == 0 || field == 3) {
                return false;
            }
            out[field++] = value;
            digits = 0;
            value = 0;
        } else if (isDigit(c)) {
            if (++digits > kFieldDigits) {
                return false;
            }
            value = value * 10 + (c - '0');
        } else {
            return false;
        }
    }
    if (digits == 0 || field != 3) {
        return false;
    }
    out[3] = value;
    return std::all_of(out.begin(), out.end(), [](int v) { return v <= 255; });
}

}  // namespace

void AddressFieldModel::clear() {
    for (auto& field : fields_) {
        field.clear();
    }
    current_ = 0;
    caret_ = 0;
    selected_ = false;
    justAdvanced_ = false;
}

void AddressFieldModel::setAddress(AddressValue value) {
    if (value == 0) {
        clear();
        return;
    }
    for (int i = 0; i < kFieldCount; ++i) {
        fields_[at(i)] = std::to_string((value >> (24 - 8 * i)) & 0xFFu);
    }
    caret_ = static_cast<int>(fields_[at(current_)].size());
    selected_ = false;
    justAdvanced_ = false;
}

AddressValue AddressFieldModel::value() const {
    AddressValue result = 0;
    for (int i = 0; i < kFieldCount; ++i) {
        result = (result << 8) | static_cast<AddressValue>(fieldValue(i) & 0xFF);
    }
    return result;
}

bool AddressFieldModel::isBlank() const {
    return std::all_of(fields_.begin(), fields_.end(),
                       [](const std::string& field) { return field.empty(); });
}

void AddressFieldModel::setRange(int field, Range range) {
    range.min = std::clamp(range.min, 0, 255);
    range.max = std::clamp(range.max, range.min, 255);
    ranges_[at(field)] = range;
}

int AddressFieldModel::fieldValue(int field) const {
    return numberOf(fields_[at(field)]);
}

void AddressFieldModel::completeField(int field) {
    if (fields_[at(field)].empty()) {
        return;
    }
    const int value = std::clamp(fieldValue(field), ranges_[at(field)].min, ranges_[at(field)].max);
    fields_[at(field)] = std::to_string(value);
    if (field == current_) {
        caret_ = std::min(caret_, static_cast<int>(fields_[at(field)].size()));
    }
}

void AddressFieldModel::goToField(int field, bool selectIt) {
    if (field != current_) {
        completeField(current_);
    }
    current_ = field;
    caret_ = static_cast<int>(fields_[at(field)].size());
    selected_ = selectIt && !fields_[at(field)].empty();
}

bool AddressFieldModel::typeDigit(char digit) {
    if (!enabled_ || !isDigit(digit)) {
        return false;
    }
    justAdvanced_ = false;
    std::string& text = fields_[at(current_)];
    if (selected_) {
        text.clear();
        caret_ = 0;
        selected_ = false;
    }
    if (text.size() >= kFieldDigits) {
        return false;
    }
    text.insert(static_cast<std::size_t>(caret_), 1, digit);
    ++caret_;
    const Range range = ranges_[at(current_)];
    int value = numberOf(text);
    if (value > range.max) {
        value = range.max;
        text = std::to_string(value);
        caret_ = static_cast<int>(text.size());
    }
    const bool full = text.size() == kFieldDigits || value * 10 > range.max;
    if (full && caret_ == static_cast<int>(text.size()) && current_ + 1 < kFieldCount) {
        goToField(current_ + 1, true);
        justAdvanced_ = true;
    }
    return true;
}

bool AddressFieldModel::typeDot() {
    if (!enabled_) {
        return false;
    }
    if (justAdvanced_) {
        justAdvanced_ = false;
        return true;
    }
    if (fields_[at(current_)].empty() || current_ + 1 >= kFieldCount) {
        return false;
    }
    goToField(current_ + 1, true);
    return true;
}

bool AddressFieldModel::backspace() {
    if (!enabled_) {
        return false;
    }
    justAdvanced_ = false;
    std::string& text = fields_[at(current_)];
    if (selected_) {
        text.clear();
        caret_ = 0;
        selected_ = false;
        return true;
    }
    if (caret_ > 0) {
        text.erase(static_cast<std::size_t>(caret_ - 1), 1);
        --caret_;
        return true;
    }
    if (current_ == 0) {
        return false;
    }
    goToField(current_ - 1, false);
    return true;
}

bool AddressFieldModel::moveLeft() {
    if (!enabled_) {
        return false;
    }
    justAdvanced_ = false;
    if (selected_) {
        selected_ = false;
        caret_ = 0;
        return true;
    }
    if (caret_ > 0) {
        --caret_;
        return true;
    }
    if (current_ == 0) {
        return false;
    }
    goToField(current_ - 1, false);
    return true;
}

bool AddressFieldModel::moveRight() {
    if (!enabled_) {
        return false;
    }
    justAdvanced_ = false;
    const int length = static_cast<int>(fields_[at(current_)].size());
    if (selected_) {
        selected_ = false;
        caret_ = length;
        return true;
    }
    if (caret_ < length) {
        ++caret_;
        return true;
    }
    if (current_ + 1 >= kFieldCount) {
        return false;
    }
    goToField(current_ + 1, false);
    caret_ = 0;
    return true;
}

bool AddressFieldModel::paste(std::string_view text) {
    if (!enabled_) {
        return false;
    }
    text = trimmed(text);
    if (text.find('.') != std::string_view::npos) {
        std::array<int, 4> values{};
        if (!splitDottedFields(text, values)) {
            return false;
        }
        for (int i = 0; i < kFieldCount; ++i) {
            fields_[at(i)] =
                std::to_string(std::clamp(values[at(i)], ranges_[at(i)].min, ranges_[at(i)].max));
        }
        current_ = kFieldCount - 1;
        caret_ = static_cast<int>(fields_[at(current_)].size());
        selected_ = false;
        justAdvanced_ = false;
        return true;
    }
    if (text.empty() || !std::all_of(text.begin(), text.end(), isDigit)) {
        return false;
    }
    bool taken = false;
    for (char c : text) {
        taken = typeDigit(c) || taken;
    }
    return taken;
}

void AddressFieldModel::enterField(int field) {
    field = std::clamp(field, 0, kFieldCount - 1);
    goToField(field, true);
    justAdvanced_ = false;
}

void AddressFieldModel::leave() {
    completeField(current_);
    selected_ = false;
    justAdvanced_ = false;
}

}  // namespace quorrel

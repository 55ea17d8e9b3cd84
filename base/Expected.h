#pragma once

#include <optional>
#include <string>
#include <utility>

namespace quorrel {

// Why something did not happen, in words the user or the log can read (UTF-8).
struct Failure {
    std::string why;
};

inline Failure failure(std::string why) {
    return Failure{std::move(why)};
}

// The result of a step that can fail: its value, or the failure's words. Takes the place
// of an error text handed back through a reference and of "an empty text means success".
// Reading value() of a failure, or error() of a success, is a mistake of the caller.
template <typename T>
class [[nodiscard]] Expected {
public:
    Expected(T value) : value_(std::move(value)) {}
    Expected(Failure failed) : error_(std::move(failed.why)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }

    T& value() & { return *value_; }
    const T& value() const& { return *value_; }
    T&& value() && { return std::move(*value_); }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    T& operator*() & { return *value_; }
    const T& operator*() const& { return *value_; }

    // "" on success.
    const std::string& error() const { return error_; }

private:
    std::optional<T> value_;
    std::string error_;
};

// A step that gives nothing back but may fail: Expected<void>{} is success.
template <>
class [[nodiscard]] Expected<void> {
public:
    Expected() = default;
    Expected(Failure failed) : failed_(true), error_(std::move(failed.why)) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    // "" on success.
    const std::string& error() const { return error_; }

private:
    bool failed_ = false;
    std::string error_;
};

using Done = Expected<void>;

// From a step that still says "" for success: Done, or the failure in its words.
inline Done doneUnless(std::string error) {
    if (error.empty()) {
        return {};
    }
    return failure(std::move(error));
}

}  // namespace quorrel

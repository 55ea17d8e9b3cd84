#pragma once

#include <string>

namespace quorrel {

// Message boxes reach the user through this one narrow interface, so that GUI-free code
// can report, tests can answer, and the Qt layer decides how a box looks.

enum class MessageIcon { None, Information, Exclamation, Stop, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct Message {
    std::string text;     // UTF-8, "\n" separates lines
    std::string caption;  // UTF-8
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

// The framework's standard box: the application title as caption, the exclamation icon,
// an OK button.
Message standardMessage(std::string text);

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual MessageResult show(const Message& message) = 0;
};

}  // namespace quorrel

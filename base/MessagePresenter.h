#pragma once

#include <functional>
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
    // More on what happened (a failing program's own words), UTF-8: shown apart from the
    // text, when the user asks for it; "" for none.
    std::string details = {};
};

// The framework's standard box: the application title as caption, the exclamation icon,
// an OK button.
Message standardMessage(std::string text);

// Lets the code that asked for a box close it before the user does: a worker that is given
// up takes back the box it still shows. Used only on the thread that shows the box.
class MessageCloser {
public:
    // The presenter, while its box is open: how to close it. Runs `closeBox` at once when
    // close() came first.
    void attach(std::function<void()> closeBox);
    // The presenter, once its box has gone.
    void detach() { closeBox_ = nullptr; }

    // Closes the box that is open now, if any, and every box attached later at once.
    void close();
    bool closed() const { return closed_; }

private:
    bool closed_ = false;
    std::function<void()> closeBox_;
};

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual MessageResult show(const Message& message) = 0;

    // Shows a box that `closer` may close before the user does; it then answers
    // MessageResult::Cancel. A presenter whose boxes never wait for a user keeps this one.
    virtual MessageResult showClosable(const Message& message, MessageCloser& closer) {
        return closer.closed() ? MessageResult::Cancel : show(message);
    }
};

}  // namespace quorrel

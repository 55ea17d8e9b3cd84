#pragma once

#include <string>

namespace quorrel::system {

// Both ends of a pipe, closed on exec (a child gets an end only as one of its standard
// streams) and when the object goes.
class Pipe {
public:
    Pipe();
    ~Pipe();
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    // False when the pipe could not be made; error() says why.
    bool isOpen() const { return readEnd_ >= 0; }
    const std::string& error() const { return error_; }

    int readEnd() const { return readEnd_; }
    int writeEnd() const { return writeEnd_; }

    // Once the child holds the write end, ours is closed, so that the child's end of
    // writing is the end of the data.
    void closeWriteEnd();

private:
    int readEnd_ = -1;
    int writeEnd_ = -1;
    std::string error_;
};

}  // namespace quorrel::system

#pragma once

#include <functional>

namespace quorrel {

// Runs `body` on a new thread that nobody joins. False when no thread could be started;
// `body` has then not run.
//
// The thread does not end before the caller has let go of it: a thread that ends before
// std::thread::detach() is reached trips the thread library of the Windows build
// (winpthreads of mingw-w64): its bookkeeping record is handed to the next thread while
// the ending thread's exit handler still writes to it, and that next thread then never
// runs its body. tests/helpers/DetachedThreadProbe.cpp shows it.
bool startDetachedThread(std::function<void()> body);

}  // namespace quorrel

// apply-lines: runs up to three netsh command lines through the program's command worker
// and its system process runner, as the main window does after "예", and reports as the
// window would: exit 0 on success; otherwise 1 with the failure details (what the lines
// wrote on standard error) on standard error. Also prints the time from the start to the
// end in milliseconds on standard output ("elapsed-ms N"), for the apply benchmarks.
//
//   apply-lines ADDRESS-LINE [DNS-LINE [SECOND-DNS-LINE]]
//
// The tests run it as a user without rights inside network namespaces of their own.
#include <chrono>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "apply/CommandThread.h"
#include "platform/ProcessRunner.h"
#include "tests/support/WaitUntil.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::cerr << "use: apply-lines ADDRESS-LINE [DNS-LINE [SECOND-DNS-LINE]]\n";
        return 2;
    }
    const std::vector<std::string> lines(argv + 1, argv + argc);
    auto mutex = std::make_shared<std::mutex>();
    quorrel::CommandThreadServices services;
    services.runner = quorrel::platform::makeSystemProcessRunner();
    services.trace = [mutex](const std::string& line) {
        const std::lock_guard lock(*mutex);
        std::cout << "trace: " << line << "\n";
    };

    const auto start = std::chrono::steady_clock::now();
    quorrel::CCommandThread worker(quorrel::ApplyPlan{lines[0], lines.size() > 1 ? lines[1] : "",
                                                      lines.size() > 2 ? lines[2] : ""},
                                   services);
    if (!quorrel::test::waitUntil([&] { return !worker.running(); }, std::chrono::seconds(60))) {
        std::cerr << "the command worker did not end within 60 s\n";
        return 3;
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    const std::lock_guard lock(*mutex);
    std::cout << "elapsed-ms " << elapsed.count() << "\n";
    if (!worker.succeeded()) {
        std::cerr << worker.failureDetails() << "\n";
        return 1;
    }
    return 0;
}

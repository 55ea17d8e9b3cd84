// A small program that the process tests start as a real child. Its arguments are steps,
// run in order:
//   append FILE TEXT   appends TEXT and a line feed to FILE
//   await FILE         waits until FILE exists (at most 60 s on the steady clock)
//   sleep MS           waits MS milliseconds
//   write N            writes N bytes ('a' to 'z' repeating) to standard output at once
//   pieces N COUNT MS  writes COUNT pieces of N bytes, flushing and waiting MS after each
//   print TEXT         writes TEXT as it stands to standard output
//   crlf               writes three lines ending in CR LF, one of them empty
//   args FILE          writes every argument it got, each between < and > on its own line
//   console FILE       writes "console" to FILE when it has a console window, else "none"
//   exit N             ends at once with exit code N
// Without an "exit" step it ends with 0.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "tests/helpers/TestChildSystem.h"

namespace {

bool exists(const std::string& path) {
    return std::ifstream(path).good();
}

void writePattern(std::size_t count) {
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<char>('a' + i % 26);
    }
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    writeOutputAsBytes();
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
        if (step == "append") {
            const std::string file = next();
            const std::string text = next();
            std::ofstream(file, std::ios::app | std::ios::binary) << text << '\n';
        } else if (step == "await") {
            const std::string file = next();
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while (!exists(file) && std::chrono::steady_clock::now() < giveUp) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        } else if (step == "sleep") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(next().c_str())));
        } else if (step == "write") {
            writePattern(static_cast<std::size_t>(std::atol(next().c_str())));
        } else if (step == "pieces") {
            const long size = std::atol(next().c_str());
            const int count = std::atoi(next().c_str());
            const int pause = std::atoi(next().c_str());
            for (int piece = 0; piece < count; ++piece) {
                writePattern(static_cast<std::size_t>(size));
                std::this_thread::sleep_for(std::chrono::milliseconds(pause));
            }
        } else if (step == "print") {
            const std::string text = next();
            std::fwrite(text.data(), 1, text.size(), stdout);
            std::fflush(stdout);
        } else if (step == "crlf") {
            const std::string text = "first\r\n\r\nlast\r\n";
            std::fwrite(text.data(), 1, text.size(), stdout);
            std::fflush(stdout);
        } else if (step == "args") {
            std::ofstream out(next(), std::ios::binary);
            for (int k = 0; k < argc; ++k) {
                out << '<' << argv[k] << ">\n";
            }
        } else if (step == "console") {
            std::ofstream(next(), std::ios::binary) << (hasConsoleWindow() ? "console" : "none");
        } else if (step == "exit") {
            return std::atoi(next().c_str());
        }
    }
    return 0;
}

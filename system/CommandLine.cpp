#include "system/CommandLine.h"

namespace quorrel::system {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view line) {
    std::vector<std::string> args;
    std::size_t pos = 0;
    const std::size_t end = line.size();

    // The program name: quotes group, nothing escapes.
    while (pos < end && isBlank(line[pos])) {
        ++pos;
    }
    if (pos == end) {
        return args;
    }
    {
        std::string name;
        bool quoted = false;
        while (pos < end && (quoted || !isBlank(line[pos]))) {
            if (line[pos] == '"') {
                quoted = !quoted;
            } else {
                name += line[pos];
            }
            ++pos;
        }
        args.push_back(std::move(name));
    }

    for (;;) {
        while (pos < end && isBlank(line[pos])) {
            ++pos;
        }
        if (pos == end) {
            break;
        }
        std::string arg;
        bool quoted = false;
        while (pos < end && (quoted || !isBlank(line[pos]))) {
            std::size_t slashes = 0;
            while (pos < end && line[pos] == '\\') {
                ++slashes;
                ++pos;
            }
            if (pos < end && line[pos] == '"') {
                arg.append(slashes / 2, '\\');
                if (slashes % 2 == 1) {
                    arg += '"';
                } else if (quoted && pos + 1 < end && line[pos + 1] == '"') {
                    arg += '"';
                    ++pos;
                } else {
                    quoted = !quoted;
                }
                ++pos;
            } else {
                arg.append(slashes, '\\');
                if (pos < end && (quoted || !isBlank(line[pos]))) {
                    arg += line[pos];
                    ++pos;
                }
            }
        }
        args.push_back(std::move(arg));
    }
    return args;
}

}  // namespace quorrel::system

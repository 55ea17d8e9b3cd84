#include <gtest/gtest.h>

#include "system/CommandLine.h"

namespace quorrel::system {
namespace {

struct SplitCase {
    const char* line;
    std::vector<std::string> args;
};

TEST(CommandLineSplit, FollowsTheWindowsRuntimeRules) {
    const std::vector<SplitCase> cases = {
        {"", {}},
        {" \t ", {}},
        {"prog a b", {"prog", "a", "b"}},
        {"  prog \t a\t\tb  ", {"prog", "a", "b"}},
        // The program name: quotes group, backslashes are plain.
        {R"("C:\Program Files\x.exe" y)", {R"(C:\Program Files\x.exe)", "y"}},
        {R"("C:\dir\"x y)", {R"(C:\dir\x)", "y"}},
        {R"(C:\a\"b c" d)", {R"(C:\a\b c)", "d"}},
        // Quotes group blanks and vanish.
        {R"(p "a b" c)", {"p", "a b", "c"}},
        {R"(p a"b c"d)", {"p", "ab cd"}},
        {R"(p "unclosed arg)", {"p", "unclosed arg"}},
        {R"(p "" x)", {"p", "", "x"}},
        {R"(p "")", {"p", ""}},
        // Backslashes are literal unless a double quote follows.
        {R"(p a\\b c\)", {"p", R"(a\\b)", R"(c\)"}},
        {R"(p a\"b)", {"p", R"(a"b)"}},
        {R"(p a\\"b c")", {"p", R"(a\b c)"}},
        {R"(p a\\\"b)", {"p", R"(a\"b)"}},
        {R"(p a\\\\"b")", {"p", R"(a\\b)"}},
        {R"(p "a\\" b)", {"p", R"(a\)", "b"}},
        {R"(p "a\" b")", {"p", R"(a" b)"}},
        {R"(p \"a b\")", {"p", R"("a)", R"(b")"}},
        // Two quotes inside a quoted part: one literal quote, the part goes on.
        {R"(p "a""b c")", {"p", R"(a"b c)"}},
        {R"(p """")", {"p", R"(")"}},
        {R"(p """ x)", {"p", R"(" x)"}},
        // The lines of an apply.
        {"netsh.exe interface ip set address \"로컬 영역 연결\" source=dhcp",
         {"netsh.exe", "interface", "ip", "set", "address", "로컬 영역 연결", "source=dhcp"}},
        {"netsh.exe interface ip set dns name=\"eth 0\" source=static  primary",
         {"netsh.exe", "interface", "ip", "set", "dns", "name=eth 0", "source=static", "primary"}},
        {"netsh.exe interface ip set address \"x\" source=static addr=1.2.3.4 mask=255.0.0.0 "
         "gateway=1.2.3.1 1",
         {"netsh.exe", "interface", "ip", "set", "address", "x", "source=static", "addr=1.2.3.4",
          "mask=255.0.0.0", "gateway=1.2.3.1", "1"}},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(splitCommandLine(c.line), c.args) << "line: " << c.line;
    }
}

}  // namespace
}  // namespace quorrel::system

// The checks of the layering test on small made-up trees, so that each one is seen to find
// what it is there to find.
#include <gtest/gtest.h>

#include <utility>

#include "tests/layering/LayerRules.h"

namespace quorrel::layering {
namespace {

const char* const kTable = R"(
# A made-up project: low at the bottom, mid with a part for Linux, top with its Qt part.
layer low: low
layer mid: mid mid/linux
layer top: top top/ui
layer tests: tests/...
mid may include: low
top may include: mid low
tests may include: top mid low
portable: low mid
qt: top/ui tests/...
linux: Posix*
)";

using Files = std::vector<std::pair<std::string, std::string>>;

struct Counts {
    std::size_t directions = 0;
    std::size_t cycles = 0;
    std::size_t headers = 0;
    std::size_t systems = 0;
};

struct Case {
    const char* what;
    Files files;
    Counts expected;
};

// Files every case starts from: a tree that keeps every rule.
Files cleanTree() {
    return {
        {"low/Text.h", "#pragma once\n#include <string>\n"},
        {"mid/Model.h", "#include \"low/Text.h\"\n#include <vector>\n"},
        {"mid/linux/Probe.h", "#include <unistd.h>\n#include \"low/Text.h\"\n"},
        {"mid/PosixProbe.cpp", "#include \"mid/linux/Probe.h\"\n"},
        {"top/Frame.h", "#include \"mid/Model.h\"\n"},
        {"top/ui/Window.h", "#include <QWidget>\n"},
        {"top/ui/Window.cpp", "#include \"top/ui/Window.h\"\n#include \"top/Frame.h\"\n"},
        {"tests/TopTest.cpp", "#include <QTest>\n#include \"top/ui/Window.h\"\n"},
    };
}

Counts countViolations(const Files& extra, const LayerTable& table) {
    std::vector<SourceFile> files;
    for (const Files& set : {cleanTree(), extra}) {
        for (const auto& [path, text] : set) {
            files.push_back(parseSource(path, text));
        }
    }
    return {checkIncludeDirections(files, table).size(), findFolderCycles(files).size(),
            checkSystemHeaders(files, table).size(), checkSystemSpecificCode(files, table).size()};
}

TEST(LayerRules, EachCheckFindsTheFaultItIsThereFor) {
    const LayerTable table = readLayerTable(kTable);
    ASSERT_TRUE(table.errors.empty());
    const std::vector<Case> cases = {
        {"a tree that keeps every rule", {}, {}},
        // mid includes low, so an include the other way also closes a cycle.
        {"an include of a layer above", {{"low/Up.h", "#include \"mid/Model.h\"\n"}}, {1, 1, 0, 0}},
        {"an include of a layer not allowed",
         {{"mid/Side.h", "#include \"top/Frame.h\"\n"}},
         {1, 1, 0, 0}},
        {"a folder without a layer",
         {{"other/Loose.cpp", "#include \"low/Text.h\"\n"}},
         {1, 0, 0, 0}},
        {"two folders of one layer that include each other",
         {{"top/Back.h", "#include \"top/ui/Window.h\"\n"}},
         {0, 1, 0, 0}},
        {"Qt in portable code", {{"mid/Qt.cpp", "#include <QString>\n"}}, {0, 0, 1, 0}},
        {"an operating-system header in portable code",
         {{"low/Sys.cpp", "#include <sys/stat.h>\n"}},
         {0, 0, 1, 1}},
        {"Qt outside the Qt folders", {{"top/Widget.cpp", "#   include <QLabel>\n"}}, {0, 0, 1, 0}},
        {"shared code including a header of one system",
         {{"top/Uses.cpp", "#include \"mid/linux/Probe.h\"\n"}},
         {0, 0, 0, 1}},
        {"shared code including an operating-system header",
         {{"top/Sys.cpp", "#include <windows.h>\n"}},
         {0, 0, 0, 1}},
        {"a choice by the operating system in the preprocessor",
         {{"top/Choice.cpp", "#ifdef _WIN32\n#endif\n#if defined(__linux__)\n#endif\n"}},
         {0, 0, 0, 2}},
    };
    for (const Case& c : cases) {
        const Counts found = countViolations(c.files, table);
        EXPECT_EQ(found.directions, c.expected.directions) << c.what;
        EXPECT_EQ(found.cycles, c.expected.cycles) << c.what;
        EXPECT_EQ(found.headers, c.expected.headers) << c.what;
        EXPECT_EQ(found.systems, c.expected.systems) << c.what;
    }
}

TEST(LayerRules, TheTableNamesOnlyKnownLayers) {
    const LayerTable table = readLayerTable("layer low: low\nlow may include: nowhere\nbad line\n");
    EXPECT_EQ(table.errors.size(), 2u);
}

}  // namespace
}  // namespace quorrel::layering

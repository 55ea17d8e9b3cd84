// The project's own sources against docs/layers.txt, the one place that names the layers
// and the directions in which includes may run.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/layering/LayerRules.h"

namespace quorrel::layering {
namespace {

std::string listed(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += "\n  " + line;
    }
    return text;
}

class ProjectLayering : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::ifstream in(std::string(QUORREL_SOURCE_DIR) + "/docs/layers.txt");
        table_ = new LayerTable(readLayerTable(
            std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>())));
        files_ = new std::vector<SourceFile>(scanSources(QUORREL_SOURCE_DIR));
    }
    static void TearDownTestSuite() {
        delete table_;
        delete files_;
    }

    static const LayerTable& table() { return *table_; }
    static const std::vector<SourceFile>& files() { return *files_; }

private:
    static inline LayerTable* table_ = nullptr;
    static inline std::vector<SourceFile>* files_ = nullptr;
};

TEST_F(ProjectLayering, TheTableAndTheTreeAreRead) {
    EXPECT_TRUE(table().errors.empty()) << listed(table().errors);
    EXPECT_GE(table().layers.size(), 5u);
    // A wrong source folder would make every other check pass without looking at anything.
    const auto frame = std::find_if(files().begin(), files().end(), [](const SourceFile& f) {
        return f.path == "app/ui/CMainFrame.cpp";
    });
    ASSERT_NE(frame, files().end());
    EXPECT_FALSE(frame->includes.empty());
    EXPECT_GT(files().size(), 300u);
}

TEST_F(ProjectLayering, EveryIncludeRunsInAnAllowedDirection) {
    const auto violations = checkIncludeDirections(files(), table());
    EXPECT_TRUE(violations.empty()) << listed(violations);
}

TEST_F(ProjectLayering, NoTwoFoldersIncludeEachOther) {
    const auto cycles = findFolderCycles(files());
    EXPECT_TRUE(cycles.empty()) << listed(cycles);
}

TEST_F(ProjectLayering, PortableCodeIncludesNeitherQtNorTheOperatingSystem) {
    const auto violations = checkSystemHeaders(files(), table());
    EXPECT_TRUE(violations.empty()) << listed(violations);
}

TEST_F(ProjectLayering, CodeOfOneSystemStaysWithThatSystem) {
    const auto violations = checkSystemSpecificCode(files(), table());
    EXPECT_TRUE(violations.empty()) << listed(violations);
}

}  // namespace
}  // namespace quorrel::layering

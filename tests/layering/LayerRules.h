#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace quorrel::layering {

// A folder pattern of the layer table: "app/ui" stands for that folder only, "tests/..."
// for tests and every folder below it, "Win32*" (in the system lists) for files whose name
// starts with "Win32".
struct FolderPattern {
    std::string folder;
    bool withSubfolders = false;
};

// docs/layers.txt, read.
struct LayerTable {
    // Layer names in the order the table lists them, and their folders.
    std::vector<std::string> layers;
    std::map<std::string, std::vector<FolderPattern>> folders;
    // For each layer, the other layers it may include.
    std::map<std::string, std::set<std::string>> mayInclude;
    std::vector<FolderPattern> portable;
    std::vector<FolderPattern> qt;
    // Per system ("linux", "win32"): folders and file-name beginnings built for it only.
    std::map<std::string, std::vector<FolderPattern>> systemFolders;
    std::map<std::string, std::vector<std::string>> systemFilePrefixes;
    // Lines that could not be read.
    std::vector<std::string> errors;
};

LayerTable readLayerTable(const std::string& text);

// One #include of a source file.
struct Include {
    std::string header;  // as written between the quotes or angle brackets
    bool angled = false;
    int line = 0;
};

// A source file: its path from the source root ("app/ui/CMainFrame.cpp"), its includes,
// and the lines that make code depend on the operating system through the preprocessor
// (#ifdef _WIN32 and the like).
struct SourceFile {
    std::string path;
    std::vector<Include> includes;
    std::vector<int> systemConditionals;
};

// Reads every .cpp and .h file below `root`, leaving out build folders and hidden ones.
std::vector<SourceFile> scanSources(const std::string& root);

// Reads the includes and the system conditionals of one file's text.
SourceFile parseSource(const std::string& path, const std::string& text);

// Each check returns one line per violation, empty when the code keeps the rule.

// Every file's folder belongs to a layer, and every include of a project header goes to
// its own layer or to one its layer may include.
std::vector<std::string> checkIncludeDirections(const std::vector<SourceFile>& files,
                                                const LayerTable& table);

// No folder includes, directly or round a cycle, a folder that includes it.
std::vector<std::string> findFolderCycles(const std::vector<SourceFile>& files);

// Portable folders include in angle brackets only the C++ standard library; only the Qt
// folders include Qt.
std::vector<std::string> checkSystemHeaders(const std::vector<SourceFile>& files,
                                            const LayerTable& table);

// Code built on both systems includes nothing built for one system only, and nothing
// chooses code by the operating system through the preprocessor: CMake chooses the files.
std::vector<std::string> checkSystemSpecificCode(const std::vector<SourceFile>& files,
                                                 const LayerTable& table);

}  // namespace quorrel::layering

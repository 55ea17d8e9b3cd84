#include "tests/layering/LayerRules.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

namespace quorrel::layering {

namespace fs = std::filesystem;

namespace {

const char* const kSubfolders = "/...";

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

std::set<std::string> wordSet(const std::string& text) {
    const std::vector<std::string> list = words(text);
    return {list.begin(), list.end()};
}

// The C++ standard library's headers, C++20.
const std::set<std::string>& standardHeaders() {
    static const std::set<std::string> headers = wordSet(
        "algorithm any array atomic barrier bit bitset cassert cctype cerrno cfenv cfloat "
        "charconv chrono cinttypes climits clocale cmath codecvt compare complex concepts "
        "condition_variable coroutine csetjmp csignal cstdarg cstddef cstdint cstdio cstdlib "
        "cstring ctime cuchar cwchar cwctype deque exception execution filesystem format "
        "forward_list fstream functional future initializer_list iomanip ios iosfwd iostream "
        "istream iterator latch limits list locale map memory memory_resource mutex new "
        "numbers numeric optional ostream queue random ranges ratio regex scoped_allocator "
        "semaphore set shared_mutex source_location span sstream stack stdexcept stop_token "
        "streambuf string string_view syncstream system_error thread tuple type_traits "
        "typeindex typeinfo unordered_map unordered_set utility valarray variant vector "
        "version");
    return headers;
}

// Headers of one operating system, which code built on both systems must not include.
bool isSystemOnlyHeader(const std::string& header) {
    static const std::set<std::string> single = {
        "unistd.h",  "fcntl.h", "poll.h",     "pwd.h",      "signal.h",   "spawn.h", "iconv.h",
        "windows.h", "io.h",    "iphlpapi.h", "winsock2.h", "ws2tcpip.h", "shlobj.h"};
    static const std::vector<std::string> folders = {"sys/", "linux/", "net/", "netinet/", "arpa/"};
    if (single.count(header) != 0) {
        return true;
    }
    return std::any_of(folders.begin(), folders.end(),
                       [&](const std::string& folder) { return header.rfind(folder, 0) == 0; });
}

bool isQtHeader(const std::string& header) {
    return !header.empty() && header[0] == 'Q';
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

FolderPattern patternOf(const std::string& word) {
    const std::string ending = kSubfolders;
    if (word.size() > ending.size() && word.ends_with(ending)) {
        return {word.substr(0, word.size() - ending.size()), true};
    }
    return {word, false};
}

std::vector<FolderPattern> patternsOf(const std::vector<std::string>& list) {
    std::vector<FolderPattern> patterns;
    for (const std::string& word : list) {
        patterns.push_back(patternOf(word));
    }
    return patterns;
}

bool matches(const FolderPattern& pattern, const std::string& folder) {
    if (folder == pattern.folder) {
        return true;
    }
    return pattern.withSubfolders && folder.rfind(pattern.folder + "/", 0) == 0;
}

bool matchesAny(const std::vector<FolderPattern>& patterns, const std::string& folder) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const FolderPattern& p) { return matches(p, folder); });
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The layer of a folder; a layer naming the folder itself wins over one naming a folder
// above it with its subfolders. Empty when no layer has it.
std::string layerOf(const LayerTable& table, const std::string& folder) {
    std::string below;
    for (const std::string& layer : table.layers) {
        for (const FolderPattern& pattern : table.folders.at(layer)) {
            if (pattern.folder == folder) {
                return layer;
            }
            if (below.empty() && matches(pattern, folder)) {
                below = layer;
            }
        }
    }
    return below;
}

// The system a file is built for only ("linux", "win32"), or empty when it is built on
// both.
std::string systemOf(const LayerTable& table, const std::string& path) {
    const std::string folder = folderOf(path);
    const std::string name = fileNameOf(path);
    for (const char* system : {"linux", "win32"}) {
        std::istringstream parts(folder);
        for (std::string part; std::getline(parts, part, '/');) {
            if (part == system) {
                return system;
            }
        }
        const auto folders = table.systemFolders.find(system);
        if (folders != table.systemFolders.end() && matchesAny(folders->second, folder)) {
            return system;
        }
        const auto prefixes = table.systemFilePrefixes.find(system);
        if (prefixes != table.systemFilePrefixes.end()) {
            for (const std::string& prefix : prefixes->second) {
                if (name.rfind(prefix, 0) == 0) {
                    return system;
                }
            }
        }
    }
    return {};
}

// The project file an include names, or empty for a header from outside the project.
std::string resolve(const std::set<std::string>& paths, const SourceFile& file,
                    const Include& include) {
    if (include.angled) {
        return {};
    }
    if (paths.count(include.header) != 0) {
        return include.header;
    }
    const std::string folder = folderOf(file.path);
    const std::string besideFile = folder.empty() ? include.header : folder + "/" + include.header;
    return paths.count(besideFile) != 0 ? besideFile : std::string();
}

std::set<std::string> pathsOf(const std::vector<SourceFile>& files) {
    std::set<std::string> paths;
    for (const SourceFile& file : files) {
        paths.insert(file.path);
    }
    return paths;
}

std::string where(const SourceFile& file, int line) {
    return file.path + ":" + std::to_string(line);
}

bool isSystemMacro(const std::string& text) {
    for (const char* macro : {"_WIN32", "_WIN64", "__linux__", "__linux", "__unix__", "__unix",
                              "__APPLE__", "__MINGW32__", "__MINGW64__", "_MSC_VER"}) {
        if (text.find(macro) != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

LayerTable readLayerTable(const std::string& text) {
    LayerTable table;
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        line = trimmed(line.substr(0, line.find('#')));
        if (line.empty()) {
            continue;
        }
        const auto colon = line.find(':');
        if (colon == std::string::npos) {
            table.errors.push_back("line " + std::to_string(number) + ": no ':' in " + line);
            continue;
        }
        const std::vector<std::string> head = words(line.substr(0, colon));
        const std::vector<std::string> list = words(line.substr(colon + 1));
        if (head.size() == 2 && head[0] == "layer") {
            table.layers.push_back(head[1]);
            table.folders[head[1]] = patternsOf(list);
        } else if (head.size() == 3 && head[1] == "may" && head[2] == "include") {
            table.mayInclude[head[0]].insert(list.begin(), list.end());
        } else if (head.size() == 1 && head[0] == "portable") {
            table.portable = patternsOf(list);
        } else if (head.size() == 1 && head[0] == "qt") {
            table.qt = patternsOf(list);
        } else if (head.size() == 1 && (head[0] == "linux" || head[0] == "win32")) {
            for (const std::string& word : list) {
                if (word.ends_with("*")) {
                    table.systemFilePrefixes[head[0]].push_back(word.substr(0, word.size() - 1));
                } else {
                    table.systemFolders[head[0]].push_back(patternOf(word));
                }
            }
        } else {
            table.errors.push_back("line " + std::to_string(number) + ": not understood: " + line);
        }
    }
    for (const auto& [layer, allowed] : table.mayInclude) {
        if (table.folders.count(layer) == 0) {
            table.errors.push_back("rules for an unknown layer: " + layer);
        }
        for (const std::string& name : allowed) {
            if (table.folders.count(name) == 0) {
                table.errors.push_back(layer + " may include an unknown layer: " + name);
            }
        }
    }
    return table;
}

SourceFile parseSource(const std::string& path, const std::string& text) {
    SourceFile file;
    file.path = path;
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        std::string directive = trimmed(line);
        if (directive.empty() || directive[0] != '#') {
            continue;
        }
        directive = trimmed(directive.substr(1));
        if (directive.rfind("include", 0) == 0) {
            const std::string rest = trimmed(directive.substr(7));
            if (rest.size() < 2) {
                continue;
            }
            const char close = rest[0] == '<' ? '>' : rest[0] == '"' ? '"' : '\0';
            const auto end = close == '\0' ? std::string::npos : rest.find(close, 1);
            if (end != std::string::npos) {
                file.includes.push_back({rest.substr(1, end - 1), close == '>', number});
            }
        } else if ((directive.rfind("if", 0) == 0 || directive.rfind("elif", 0) == 0) &&
                   isSystemMacro(directive)) {
            file.systemConditionals.push_back(number);
        }
    }
    return file;
}

std::vector<SourceFile> scanSources(const std::string& root) {
    std::vector<SourceFile> files;
    const fs::path base(root);
    auto it = fs::recursive_directory_iterator(base);
    for (; it != fs::recursive_directory_iterator(); ++it) {
        const fs::path& path = it->path();
        const std::string name = path.filename().string();
        if (it->is_directory()) {
            if (name.rfind('.', 0) == 0 || name.rfind("build", 0) == 0) {
                it.disable_recursion_pending();
            }
            continue;
        }
        const std::string extension = path.extension().string();
        if (extension != ".cpp" && extension != ".h") {
            continue;
        }
        std::ifstream in(path, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        files.push_back(parseSource(fs::relative(path, base).generic_string(), text));
    }
    std::sort(files.begin(), files.end(),
              [](const SourceFile& a, const SourceFile& b) { return a.path < b.path; });
    return files;
}

std::vector<std::string> checkIncludeDirections(const std::vector<SourceFile>& files,
                                                const LayerTable& table) {
    std::vector<std::string> violations;
    const std::set<std::string> paths = pathsOf(files);
    std::set<std::string> homeless;
    for (const SourceFile& file : files) {
        const std::string folder = folderOf(file.path);
        const std::string layer = layerOf(table, folder);
        if (layer.empty()) {
            if (homeless.insert(folder).second) {
                violations.push_back("folder '" + folder + "' belongs to no layer");
            }
            continue;
        }
        const auto allowedIt = table.mayInclude.find(layer);
        for (const Include& include : file.includes) {
            const std::string header = resolve(paths, file, include);
            if (header.empty()) {
                continue;
            }
            const std::string target = layerOf(table, folderOf(header));
            const bool allowed = target == layer || (allowedIt != table.mayInclude.end() &&
                                                     allowedIt->second.count(target) != 0);
            if (!allowed && !target.empty()) {
                violations.push_back(where(file, include.line) + ": " + layer + " includes " +
                                     header + " of " + target);
            }
        }
    }
    return violations;
}

std::vector<std::string> findFolderCycles(const std::vector<SourceFile>& files) {
    const std::set<std::string> paths = pathsOf(files);
    // Folder -> folder it includes -> one include that shows it.
    std::map<std::string, std::map<std::string, std::string>> edges;
    for (const SourceFile& file : files) {
        const std::string folder = folderOf(file.path);
        edges[folder];
        for (const Include& include : file.includes) {
            const std::string header = resolve(paths, file, include);
            const std::string target = folderOf(header);
            if (!header.empty() && target != folder) {
                edges[folder].emplace(target, where(file, include.line) + " includes " + header);
            }
        }
    }

    // Tarjan's strongly connected components: a component of more than one folder is a
    // cycle.
    std::map<std::string, int> index;
    std::map<std::string, int> low;
    std::set<std::string> onStack;
    std::vector<std::string> stack;
    std::vector<std::string> violations;
    int next = 0;
    std::function<void(const std::string&)> visit = [&](const std::string& folder) {
        index[folder] = low[folder] = next++;
        stack.push_back(folder);
        onStack.insert(folder);
        for (const auto& [target, example] : edges[folder]) {
            if (index.count(target) == 0) {
                visit(target);
                low[folder] = std::min(low[folder], low[target]);
            } else if (onStack.count(target) != 0) {
                low[folder] = std::min(low[folder], index[target]);
            }
        }
        if (low[folder] != index[folder]) {
            return;
        }
        std::set<std::string> component;
        std::string member;
        do {
            member = stack.back();
            stack.pop_back();
            onStack.erase(member);
            component.insert(member);
        } while (member != folder);
        if (component.size() < 2) {
            return;
        }
        std::string text = "folder cycle:";
        for (const std::string& from : component) {
            for (const auto& [target, example] : edges[from]) {
                if (component.count(target) != 0) {
                    text += "\n    " + from + " -> " + target + " (" + example + ")";
                }
            }
        }
        violations.push_back(text);
    };
    for (const auto& [folder, targets] : edges) {
        if (index.count(folder) == 0) {
            visit(folder);
        }
    }
    return violations;
}

std::vector<std::string> checkSystemHeaders(const std::vector<SourceFile>& files,
                                            const LayerTable& table) {
    std::vector<std::string> violations;
    for (const SourceFile& file : files) {
        const std::string folder = folderOf(file.path);
        const bool portable = matchesAny(table.portable, folder);
        const bool qt = matchesAny(table.qt, folder);
        for (const Include& include : file.includes) {
            if (!include.angled) {
                continue;
            }
            if (portable && standardHeaders().count(include.header) == 0) {
                violations.push_back(where(file, include.line) + ": portable code includes <" +
                                     include.header + ">");
            } else if (!qt && isQtHeader(include.header)) {
                violations.push_back(where(file, include.line) + ": Qt outside the Qt layers: <" +
                                     include.header + ">");
            }
        }
    }
    return violations;
}

std::vector<std::string> checkSystemSpecificCode(const std::vector<SourceFile>& files,
                                                 const LayerTable& table) {
    std::vector<std::string> violations;
    const std::set<std::string> paths = pathsOf(files);
    for (const SourceFile& file : files) {
        const std::string system = systemOf(table, file.path);
        for (const Include& include : file.includes) {
            const std::string header = resolve(paths, file, include);
            const std::string target = header.empty() ? std::string() : systemOf(table, header);
            if (!target.empty() && target != system) {
                violations.push_back(where(file, include.line) + ": includes " + header +
                                     ", which is built for " + target + " only");
            }
            if (system.empty() && include.angled && isSystemOnlyHeader(include.header)) {
                violations.push_back(where(file, include.line) +
                                     ": code built on both systems includes <" + include.header +
                                     ">");
            }
        }
        for (const int line : file.systemConditionals) {
            violations.push_back(where(file, line) +
                                 ": chooses code by the operating system; let CMake choose "
                                 "the file instead");
        }
    }
    return violations;
}

}  // namespace quorrel::layering

#pragma once

#include <string>

namespace quorrel::test {

// A fresh folder under the system's temporary folder, removed with everything in it when
// the object goes. path() ends in the platform's folder separator.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// Whole-file helpers for tests.
std::string readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::string& bytes);

}  // namespace quorrel::test

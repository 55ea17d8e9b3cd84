#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct chmFile;

namespace quorrel::platform {

// Read access to a compiled help book (a CHM archive) through chmlib. Object paths are
// the archive's own, starting with "/" ("/main/Main.htm"); like HTML Help, look-ups ignore
// the case of letters.
class ChmArchive {
public:
    // The book at `path`, or nullptr when it is missing or not a book.
    static std::unique_ptr<ChmArchive> open(const std::string& path);

    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    bool contains(const std::string& objectPath) const;

    // The object's bytes, or nothing when the book has no such object or it cannot be read
    // whole.
    std::optional<std::string> read(const std::string& objectPath) const;

    // The paths of the book's pages, pictures and other content files, without folders and
    // the archive's internal objects ("/#SYSTEM", "::DataSpace/...").
    std::vector<std::string> contentPaths() const;

private:
    explicit ChmArchive(chmFile* file) : file_(file) {}

    chmFile* file_;
};

}  // namespace quorrel::platform

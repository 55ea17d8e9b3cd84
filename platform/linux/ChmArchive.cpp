#include "platform/linux/ChmArchive.h"

#include <chm_lib.h>

namespace quorrel::platform {

namespace {

// Objects larger than this are not read: no page or picture of a help book comes near it,
// and a damaged directory entry must not make us allocate gigabytes.
constexpr LONGUINT64 kLargestObject = 64u * 1024u * 1024u;

int collectContent(chmFile*, chmUnitInfo* unit, void* context) {
    const std::string path = unit->path;
    // Internal objects start with "/#" or "/$" (the compiler adds a "/_#_README_#_" of its
    // own); folders end in "/".
    const bool internal = path.size() < 2 || path[1] == '$' || path.find('#') != std::string::npos;
    if (!internal && path.back() != '/') {
        static_cast<std::vector<std::string>*>(context)->push_back(path);
    }
    return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

std::unique_ptr<ChmArchive> ChmArchive::open(const std::string& path) {
    chmFile* file = chm_open(path.c_str());
    if (file == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<ChmArchive>(new ChmArchive(file));
}

ChmArchive::~ChmArchive() {
    chm_close(file_);
}

bool ChmArchive::contains(const std::string& objectPath) const {
    chmUnitInfo unit{};
    return objectPath.size() <= CHM_MAX_PATHLEN &&
           chm_resolve_object(file_, objectPath.c_str(), &unit) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::string> ChmArchive::read(const std::string& objectPath) const {
    chmUnitInfo unit{};
    if (objectPath.size() > CHM_MAX_PATHLEN ||
        chm_resolve_object(file_, objectPath.c_str(), &unit) != CHM_RESOLVE_SUCCESS) {
        return std::nullopt;
    }
    if (unit.length > kLargestObject) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(unit.length), '\0');
    if (unit.length == 0) {
        return bytes;
    }
    const LONGINT64 got =
        chm_retrieve_object(file_, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                            static_cast<LONGINT64>(unit.length));
    if (got != static_cast<LONGINT64>(unit.length)) {
        return std::nullopt;
    }
    return bytes;
}

std::vector<std::string> ChmArchive::contentPaths() const {
    std::vector<std::string> paths;
    chm_enumerate(file_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collectContent, &paths);
    return paths;
}

}  // namespace quorrel::platform

#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "base/ByteSource.h"
#include "base/Expected.h"

namespace quorrel::system {

// Replacing a whole file on Linux, the one way every writer of the program uses.
//
// A reader sees the old or the new bytes, never a mix or a shortened file: the bytes go to
// a temporary file in the target's folder, are flushed to disk (unless the writer says they
// need not be: AtomicWriteOptions::durable) and renamed over the target.
// A writer that is killed leaves nothing behind for long: the bytes are written into an
// unnamed file (O_TMPFILE) that the kernel drops with the writer, and the named temporary
// file that exists only for the instant of the rename, ".<name>.tmp-<random>", is locked
// by its writer; every later replace of the same file removes such names whose lock is
// free, as their writer is gone.
//
// The replaced file keeps its permission bits (and, for a writer with root rights, its
// owner; a new file written by root belongs to the folder's owner). A new file gets the
// usual 0666 less the umask. The temporary file is created without following symbolic
// links.
struct AtomicWriteOptions {
    // A symbolic link at the path is written through to the file it names, and the link
    // stays; false replaces the link itself by a plain file. A link owned by another user
    // than the writer (and not by root) is never followed: it is replaced itself.
    bool followLink = true;
    // Whether the bytes go to an unnamed file first. Where the file system cannot make one
    // the named temporary file holds them from the start; tests turn this off to run that
    // way on any file system.
    bool unnamedFirst = true;
    // Whether the bytes and the new name are on disk when the call returns (the file and
    // its folder flushed). Off for a file whose loss in a power cut costs nothing, or that
    // a record on disk already covers until the writer flushes it (flushFileAndFolder);
    // readers still see the old or the new bytes, never a mix.
    bool durable = true;
    // Called with the temporary file's path when its bytes are written, just before the
    // rename: lets tests stop a save at its most fragile moment.
    std::function<void(const std::string& tempPath)> beforeRename;
};

// The options for a file that is the writer's own (a symbolic link in its place is replaced
// itself), and for one that may be kept elsewhere through a link.
inline AtomicWriteOptions noLinkFollowed(bool durable = true) {
    AtomicWriteOptions options;
    options.followLink = false;
    options.durable = durable;
    return options;
}
inline AtomicWriteOptions linkFollowed() {
    return AtomicWriteOptions{};
}

// A failure (in the system's words) when the file could not be replaced; it is then
// untouched.
Done replaceFileAtomically(const std::string& path, std::string_view bytes,
                           const AtomicWriteOptions& options = {});

// The same with the bytes that `source` hands over in pieces. The first piece that cannot
// be written stops the source; the failure says why and the file is untouched. The source
// may be called a second time, when the bytes have to be written again into a named
// temporary file.
Done replaceFileAtomicallyFrom(const std::string& path, const ByteSource& source,
                               const AtomicWriteOptions& options = {});

// Replaces `to` atomically, as above, by a copy of the regular file `from` that the kernel
// makes where it can. A failure when `from` cannot be read or `to` not replaced (`to` is
// then untouched).
Done copyFileAtomically(const std::string& from, const std::string& to,
                        const AtomicWriteOptions& options = {});

// The same for the file `name` in the folder open as `dirFd`, for a writer that has checked
// the folder itself (options.followLink does not apply: `name` is replaced as it is).
Done replaceFileAtomicallyAt(int dirFd, const std::string& name, std::string_view bytes,
                             const AtomicWriteOptions& options = {});

// Puts the file at `path` (when it is there; a link is not followed) and the folder that
// holds it on disk: what a replace without `durable` left in memory. Fails with the
// system's text when the kernel refuses.
Done flushFileAndFolder(const std::string& path);

// The file a path ends up at after following symbolic links of its last name (at most 40,
// and only links of the effective user or of root), also when that file does not exist
// yet. Relative links count from the link's folder.
std::string resolveFinalLink(const std::string& path);

// Whether `fileName` is the name of a temporary file that replacing `target` makes.
bool isTemporaryNameOf(std::string_view fileName, std::string_view targetName);

}  // namespace quorrel::system

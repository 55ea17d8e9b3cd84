#pragma once

#include <string>
#include <string_view>

namespace quorrel {

namespace platform {
class FileStore;
}

// Where the help book lives and which page the help command opens.

// "<installFolder>QuorrelHelp.chm::/main/Main.htm"; the install folder ends in the folder
// separator, so it is put in front as it is.
std::string helpTopicLocation(const std::string& installFolder);

// A help location taken apart: the book's path and the page inside it.
struct HelpLocation {
    std::string book;
    std::string topic;  // always starts with "/"
};

// Splits "<book>::<page>" at its last "::". Without one the whole text is the book and
// the page is the main page; a page without a leading "/" gets one.
HelpLocation splitHelpLocation(std::string_view location);

// What placeHelpBook did.
enum class HelpBookPlacement {
    AlreadyThere,  // the install folder holds the same book as the program's folder
    Copied,        // the book was missing or older there and has been copied
    NoSource,      // the program's folder has no book (the install folder is left alone)
    CopyFailed,    // the copy was refused (read-only folder, full disk)
};

// The help command looks for the book in the install folder, but the book comes with the
// program. This puts the program's copy there when it is missing or differs (after an
// update of the program); the data files of the folder are not touched. Both folders end
// in the folder separator.
HelpBookPlacement placeHelpBook(platform::FileStore& files, const std::string& programFolder,
                                const std::string& installFolder);

}  // namespace quorrel

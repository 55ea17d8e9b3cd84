#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/FileStore.h"
#include "tests/support/TempFolder.h"

namespace quorrel {
namespace {

using Status = platform::FileReadOutcome::Status;

// The system's store hands a file of several pieces over in order, in pieces no larger than
// kFileReadPieceBytes, stops at the reader's first false, and tells a missing file from one
// that cannot be read, handing nothing for either.
TEST(SystemFileStoreRead, HandsTheBytesInPiecesAndTellsMissingFromUnreadable) {
    test::TempFolder folder;
    auto files = platform::makeSystemFileStore();
    std::string bytes;
    for (int i = 0; bytes.size() < 3 * platform::kFileReadPieceBytes + 1000; ++i) {
        bytes += std::to_string(i) + "\r\n";
    }
    test::writeFileBytes(folder.file("many.dat"), bytes);

    std::string gathered;
    int pieces = 0;
    const auto gather = [&](std::string_view piece) {
        ++pieces;
        EXPECT_FALSE(piece.empty());
        EXPECT_LE(piece.size(), platform::kFileReadPieceBytes);
        gathered += piece;
        return true;
    };
    EXPECT_EQ(files->readInPieces(folder.file("many.dat"), gather).status, Status::Read);
    EXPECT_TRUE(gathered == bytes) << gathered.size() << " bytes instead of " << bytes.size();
    EXPECT_TRUE(files->read(folder.file("many.dat")).bytes == bytes);

    pieces = 0;
    const auto once = [&pieces](std::string_view) { return ++pieces < 1; };
    EXPECT_EQ(files->readInPieces(folder.file("many.dat"), once).status, Status::Read);
    EXPECT_EQ(pieces, 1);

    pieces = 0;
    EXPECT_EQ(files->readInPieces(folder.file("missing.dat"), gather).status, Status::Missing);
    std::filesystem::create_directory(folder.file("folder.dat"));
    const platform::FileReadOutcome folderRead =
        files->readInPieces(folder.file("folder.dat"), gather);
    EXPECT_EQ(folderRead.status, Status::Unreadable);
    EXPECT_FALSE(folderRead.error.empty());
    EXPECT_EQ(pieces, 0);
}

}  // namespace
}  // namespace quorrel

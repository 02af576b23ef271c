// The document loading through a disk image: picks, the pick it asks for, the file it keeps as the
// loaded one, and a refused image that changes nothing.
#include "container_fixture.h"
#include "core/document.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

namespace mosaiqua {
namespace {

TEST(DocumentContainers, PicksLoadTheEntryAndARefusalChangesNothing) {
    test::TempFolder folder;
    test::DiskBuilder disk(35);
    disk.entry(18, 1, 0, 0x82, 17, 0, "FIRST", 1);
    disk.entry(18, 1, 1, 0x81, 17, 1, "TEXT", 1); // SEQ
    disk.chain({{17, 0}}, test::Program(0x2000, 10));
    disk.chain({{17, 1}}, {7, 8, 9});
    const std::string path = folder.file("two.d64");
    test::WriteBytes(path, disk.bytes());

    Document document;
    std::vector<DocumentChange> changes;
    document.addObserver([&](DocumentChange change) { changes.push_back(change); });
    // Two loadable files and no pick: the document asks for one at the top level.
    try {
        document.loadPicked(path, {});
        FAIL() << "no pick was asked for";
    } catch (const ContainerPickError& e) {
        EXPECT_TRUE(e.picksToContainer().empty());
        EXPECT_NE(std::string(e.what()).find("\"TEXT\""), std::string::npos) << e.what();
    }
    EXPECT_TRUE(changes.empty());

    document.loadPicked(path, {"#1"});
    const std::vector<std::uint8_t> program = test::Program(0x2000, 10);
    EXPECT_TRUE(test::HoldsOnly(document.memory(), 0x2000, {program.begin() + 2, program.end()}));
    EXPECT_NE(document.loadedFile().description.find("FIRST"), std::string::npos);
    EXPECT_EQ(document.loadedIdentity(), IdentifyFile(path)); // the image, so no save replaces it
    EXPECT_TRUE(Has(changes.back(), DocumentChange::Memory));

    // A SEQ file at the address the user gives.
    document.loadPicked(path, {"TEXT"}, 0x0400);
    EXPECT_TRUE(test::HoldsOnly(document.memory(), 0x0400, {7, 8, 9}));

    // A chain that links back to itself: refused, memory and loaded file as they were.
    disk.link(17, 1, 17, 1);
    const std::string looping = folder.file("loop.d64");
    test::WriteBytes(looping, disk.bytes());
    const std::size_t told = changes.size();
    EXPECT_THROW(document.loadPicked(looping, {"TEXT"}), UserError);
    EXPECT_TRUE(test::HoldsOnly(document.memory(), 0x0400, {7, 8, 9}));
    EXPECT_EQ(document.loadedIdentity(), IdentifyFile(path));
    EXPECT_EQ(changes.size(), told);
}

} // namespace
} // namespace mosaiqua

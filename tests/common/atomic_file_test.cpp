// AtomicFile: the target is replaced only by a successful commit. Until then,
// and after a discard, a destruction or a failure, the old file (or its
// absence) stays exactly as it was and no temporary file is left behind.
// The tests run as root, so unwritable places are made with a missing folder
// or a parent that is a regular file rather than with permissions.

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <set>
#include <string>

#include "common/atomic_file.h"
#include "test_support.h"

namespace qarv {
namespace {

namespace fs = std::filesystem;

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(AtomicFile, ReplacesTheTargetOnlyOnCommit) {
    test::TempDir dir;
    const fs::path target = dir.path() / "results.tsv";
    test::writeFile(target, "old contents");

    AtomicFile file(target);
    ASSERT_TRUE(file.isOpen()) << file.error();
    file.write("new ");
    file.write(std::string("bytes\r\n\0\xFF", 10));
    // Written but not committed: the old file is what a reader sees.
    EXPECT_EQ(test::readFile(target), "old contents");

    EXPECT_TRUE(file.commit()) << file.error();
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(test::readFile(target), std::string("new bytes\r\n\0\xFF", 14));
    EXPECT_TRUE(file.error().empty());
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"results.tsv"});
}

TEST(AtomicFile, CreatesANewFileAndAnEmptyOne) {
    test::TempDir dir;
    {
        AtomicFile file(dir.path() / "a.dat");
        file.write("x");
        ASSERT_TRUE(file.commit()) << file.error();
    }
    {
        AtomicFile file(dir.path() / "empty.dat");
        ASSERT_TRUE(file.commit()) << file.error();
    }
    EXPECT_EQ(test::readFile(dir.path() / "a.dat"), "x");
    EXPECT_TRUE(fs::exists(dir.path() / "empty.dat"));
    EXPECT_EQ(fs::file_size(dir.path() / "empty.dat"), 0u);
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"a.dat", "empty.dat"}));
}

TEST(AtomicFile, DiscardAndDestructionLeaveTheOldFileAndNoTemporary) {
    test::TempDir dir;
    const fs::path kept = dir.path() / "kept.dor";
    const fs::path absent = dir.path() / "absent.dor";
    test::writeFile(kept, "old");

    {
        AtomicFile file(kept);
        file.write("new");
        file.discard();
        EXPECT_FALSE(file.isOpen());
        // A commit after a discard has nothing to put in place.
        EXPECT_FALSE(file.commit());
    }
    {
        AtomicFile file(kept);
        file.write("newer");
    }  // destroyed without commit
    {
        AtomicFile file(absent);
        file.write("never");
    }
    EXPECT_EQ(test::readFile(kept), "old");
    EXPECT_FALSE(fs::exists(absent));
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"kept.dor"});
}

TEST(AtomicFile, ReopeningDropsTheFirstUncommittedFile) {
    test::TempDir dir;
    AtomicFile file(dir.path() / "first.dat");
    file.write("first");
    ASSERT_TRUE(file.open(dir.path() / "second.dat"));
    file.write("second");
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"second.dat"});
    EXPECT_EQ(test::readFile(dir.path() / "second.dat"), "second");
}

TEST(AtomicFile, MovedFileIsCommittedByItsNewOwnerOnly) {
    test::TempDir dir;
    const fs::path target = dir.path() / "moved.dat";
    AtomicFile moved;
    {
        AtomicFile original(target);
        original.write("part one, ");
        moved = std::move(original);
        EXPECT_FALSE(original.isOpen());
    }  // the moved-from object must not remove the temporary file it gave away
    ASSERT_TRUE(moved.isOpen());
    moved.write("part two");
    ASSERT_TRUE(moved.commit()) << moved.error();
    EXPECT_EQ(test::readFile(target), "part one, part two");

    AtomicFile constructed(dir.path() / "constructed.dat");
    AtomicFile owner(std::move(constructed));
    owner.write("y");
    ASSERT_TRUE(owner.commit()) << owner.error();
    EXPECT_EQ(test::readFile(dir.path() / "constructed.dat"), "y");
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"constructed.dat", "moved.dat"}));
}

// Places where no file can be made: open fails with a reason, writing is
// harmless, commit fails, and nothing appears anywhere.
struct UnwritablePlace {
    const char* name;
    fs::path (*make)(const fs::path& root);
};

void PrintTo(const UnwritablePlace& c, std::ostream* os) {
    *os << c.name;
}

class AtomicFileUnwritable : public ::testing::TestWithParam<UnwritablePlace> {};

TEST_P(AtomicFileUnwritable, FailsWithAReasonAndCreatesNothing) {
    test::TempDir dir;
    const fs::path target = GetParam().make(dir.path());
    const auto before = namesIn(dir.path());

    AtomicFile file;
    EXPECT_FALSE(file.open(target));
    EXPECT_FALSE(file.isOpen());
    EXPECT_FALSE(file.error().empty());
    file.write("ignored");
    EXPECT_FALSE(file.commit());
    EXPECT_FALSE(file.error().empty());

    EXPECT_EQ(namesIn(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Places, AtomicFileUnwritable,
    ::testing::Values(UnwritablePlace{"MissingFolder",
                                      [](const fs::path& root) {
                                          return root / "no-such-folder" / "a.dat";
                                      }},
                      UnwritablePlace{"ParentIsARegularFile",
                                      [](const fs::path& root) {
                                          test::writeFile(root / "plain-file", "x");
                                          return root / "plain-file" / "a.dat";
                                      }},
                      UnwritablePlace{"TargetIsAFolder",
                                      [](const fs::path& root) {
                                          fs::create_directory(root / "a.dat");
                                          return root / "a.dat";
                                      }}),
    [](const ::testing::TestParamInfo<UnwritablePlace>& info) { return info.param.name; });

}  // namespace
}  // namespace qarv

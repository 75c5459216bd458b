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

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/atomic_file.h"
#include "common/run_errors.h"
#include "file_write_faults.h"
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


// A write that fails at any step, as a full disk, missing rights or a failed
// rename make it fail: the old file stays, no temporary file is left, and the
// error is the one the system gave, so the user sees the right message.
struct FailingStep {
    const char* name;
    FileWriteStep step;
    std::errc code;
    int runError;
};

void PrintTo(const FailingStep& c, std::ostream* os) {
    *os << c.name;
}

class AtomicFileFailingStep : public ::testing::TestWithParam<FailingStep> {};

TEST_P(AtomicFileFailingStep, LeavesTheOldFileAndReportsTheSystemError) {
    test::TempDir dir;
    const fs::path target = dir.path() / "analyses.dor";
    test::writeFile(target, "old contents");
    test::InjectedWriteFault fault(GetParam().step, GetParam().code);

    AtomicFile file(target);
    file.write("new contents, ");
    file.write("more");
    EXPECT_FALSE(file.commit());
    EXPECT_EQ(fault.hits(), 1);
    EXPECT_EQ(file.errorCode(), std::make_error_code(GetParam().code));
    EXPECT_FALSE(file.error().empty());
    EXPECT_EQ(runErrorNumber(file.errorCode(), target), GetParam().runError);
    EXPECT_EQ(test::readFile(target), "old contents");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"analyses.dor"});
}

INSTANTIATE_TEST_SUITE_P(
    Steps, AtomicFileFailingStep,
    ::testing::Values(
        FailingStep{"NoRights", FileWriteStep::Create, std::errc::permission_denied, 75},
        FailingStep{"DiskFullWhileWriting", FileWriteStep::Write, std::errc::no_space_on_device, 61},
        FailingStep{"DiskFullAtTheEnd", FileWriteStep::Finish, std::errc::no_space_on_device, 61},
        FailingStep{"FileTooLarge", FileWriteStep::Write, std::errc::file_too_large, 61},
        FailingStep{"RenameFails", FileWriteStep::Replace, std::errc::io_error, 57}),
    [](const ::testing::TestParamInfo<FailingStep>& info) { return info.param.name; });

// The writers that write a file themselves (a library given a file name) go
// through the same two steps and the same seam.
TEST(AtomicFile, TemporaryBesideAndReplaceKeepTheOldFileOnFailure) {
    test::TempDir dir;
    const fs::path target = dir.path() / "Output.xlsx";
    test::writeFile(target, "old workbook");

    fs::path temp;
    ASSERT_FALSE(createTemporaryBeside(target, temp));
    EXPECT_EQ(temp.parent_path(), dir.path());
    EXPECT_EQ(fs::status(temp).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    test::writeFile(temp, "new workbook");
    {
        test::InjectedWriteFault fault(FileWriteStep::Replace, std::errc::no_space_on_device);
        EXPECT_EQ(replaceWithTemporary(temp, target), std::errc::no_space_on_device);
    }
    EXPECT_EQ(test::readFile(target), "old workbook");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"Output.xlsx"});

    ASSERT_FALSE(createTemporaryBeside(target, temp));
    test::writeFile(temp, "new workbook");
    EXPECT_FALSE(replaceWithTemporary(temp, target));
    EXPECT_EQ(test::readFile(target), "new workbook");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"Output.xlsx"});

    EXPECT_EQ(createTemporaryBeside(dir.path() / "gone" / "a.xlsx", temp),
              std::errc::no_such_file_or_directory);
    EXPECT_TRUE(temp.empty());
}

// The temporary file is private while it is written; the finished file takes
// the permissions of the file it replaces, or a new file's permissions.
TEST(AtomicFile, PermissionsArePrivateWhileWritingThenThoseOfTheTarget) {
    test::TempDir dir;
    const fs::path kept = dir.path() / "kept.dor";
    test::writeFile(kept, "old");
    const auto keptPerms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(kept, keptPerms);

    AtomicFile file(kept);
    ASSERT_TRUE(file.isOpen()) << file.error();
    fs::path temp;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        if (entry.path() != kept) temp = entry.path();
    }
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(fs::status(temp).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    file.write("new");
    ASSERT_TRUE(file.commit()) << file.error();
    EXPECT_EQ(fs::status(kept).permissions(), keptPerms);

    const mode_t mask = ::umask(022);
    ::umask(mask);
    AtomicFile fresh(dir.path() / "fresh.dor");
    ASSERT_TRUE(fresh.commit()) << fresh.error();
    EXPECT_EQ(static_cast<mode_t>(fs::status(dir.path() / "fresh.dor").permissions()),
              static_cast<mode_t>(0666 & ~mask));
}

// Saving onto a symbolic link replaces the file it points to; the link stays.
TEST(AtomicFile, WritesThroughASymbolicLink) {
    test::TempDir dir;
    fs::create_directory(dir.path() / "real");
    const fs::path real = dir.path() / "real" / "analyses.dor";
    test::writeFile(real, "old");
    const fs::path link = dir.path() / "link.dor";
    fs::create_symlink(real, link);

    AtomicFile file(link);
    file.write("new");
    ASSERT_TRUE(file.commit()) << file.error();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::readFile(real), "new");
    EXPECT_EQ(namesIn(dir.path() / "real"), std::set<std::string>{"analyses.dor"});
}

// A real full disk: a tmpfs of a few pages, filled up. Needs root and mount
// rights; the injected full disk above covers the same path everywhere.
TEST(AtomicFile, OnARealFullDiskTheOldFileStays) {
    test::TempDir dir;
    const fs::path disk = dir.path() / "disk";
    fs::create_directory(disk);
    if (::geteuid() != 0 || ::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno)
                     << "); the injected full disk covers the same path";
    }
    struct Unmount {
        fs::path at;
        ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
    } unmount{disk};
    const fs::path target = disk / "analyses.dor";
    test::writeFile(target, "old contents");
    {
        std::FILE* filler = std::fopen((disk / "filler").c_str(), "wb");
        ASSERT_NE(filler, nullptr);
        const std::string block(512, 'x');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
               std::fflush(filler) == 0) {
        }
        std::fclose(filler);
    }
    AtomicFile file(target);
    file.write(std::string(200000, 'y'));
    EXPECT_FALSE(file.commit());
    EXPECT_EQ(runErrorNumber(file.errorCode(), target), err::kDiskFull) << file.error();
    EXPECT_EQ(test::readFile(target), "old contents");
    EXPECT_EQ(namesIn(disk), (std::set<std::string>{"analyses.dor", "filler"}));
}

}  // namespace
}  // namespace qarv

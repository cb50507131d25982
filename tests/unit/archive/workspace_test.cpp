#include <sys/stat.h>
#include <unistd.h>

#include "archive/workspace.h"
#include "archive_fixture.h"
#include "base/failure.h"

namespace {

using namespace kxtest;
namespace fs = std::filesystem;

class WorkspaceTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        program_ = dir_ / "game";
        fs::create_directory(program_);
        outside_ = dir_ / "outside";
        fs::create_directory(outside_);
        WriteText(outside_ / "keep.txt", "precious");
    }

    fs::path Temp() const { return program_ / "Temp"; }
    std::string Exe() const { return (program_ / "koravex").string(); }
    bool OutsideIntact() const { return ReadText(outside_ / "keep.txt") == "precious"; }

    fs::path program_;
    fs::path outside_;
};

TEST_F(WorkspaceTest, StartUpReplacesALeftoverTempAndLeavesTheProgramFolderCurrent) {
    fs::create_directory(Temp());
    WriteText(Temp() / "old.bmp", "old");
    WriteText(Temp() / ".hidden", "old");
    fs::create_symlink(outside_ / "keep.txt", Temp() / "link.txt");
    fs::create_directory_symlink(outside_, Temp() / "linkdir");

    archive::SetUpWorkspace(Exe());
    EXPECT_EQ(archive::ExeFileName, Exe());
    EXPECT_EQ(archive::TempSubpath, "/Temp");
    EXPECT_EQ(CurrentDir(), program_);
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(Temp())));
    EXPECT_TRUE(fs::is_empty(Temp()));
    // Links inside Temp go as links; what they point to stays.
    EXPECT_TRUE(OutsideIntact());
}

TEST_F(WorkspaceTest, SubfoldersOfTempAreLeftAloneAndKeepTheFolder) {
    fs::create_directories(Temp() / "sub");
    WriteText(Temp() / "sub" / "inner.txt", "inner");
    WriteText(Temp() / "loose.txt", "loose");

    archive::SetUpWorkspace(Exe());
    EXPECT_FALSE(fs::exists(Temp() / "loose.txt"));
    EXPECT_EQ(ReadText(Temp() / "sub" / "inner.txt"), "inner");

    archive::TearDownWorkspace();
    EXPECT_TRUE(fs::exists(Temp() / "sub" / "inner.txt"));
}

TEST_F(WorkspaceTest, ExtractionWritesIntoTempAndLeavesItCurrent) {
    WriteBytes(program_ / "a.vbf", Archive({{"board.dat", "new"}, {"pic.bmp", "picture"}}));
    archive::SetUpWorkspace(Exe());
    WriteText(Temp() / "board.dat", "a much longer old content");
    fs::create_symlink(outside_ / "keep.txt", Temp() / "pic.bmp");
    fs::current_path(outside_);

    archive::ExtractToTemp("board.dat", "a.vbf");
    EXPECT_EQ(CurrentDir(), Temp());
    EXPECT_EQ(ReadText("board.dat"), "new");

    // A link under the member's name is replaced, never written through.
    archive::ExtractToTemp("PIC.BMP", "a.vbf");
    EXPECT_FALSE(fs::is_symlink(Temp() / "PIC.BMP"));
    EXPECT_EQ(ReadText(Temp() / "PIC.BMP"), "picture");
    EXPECT_TRUE(OutsideIntact());

    archive::DeleteFromTemp("board.dat");
    EXPECT_EQ(CurrentDir(), Temp());
    EXPECT_FALSE(fs::exists(Temp() / "board.dat"));
    fs::create_symlink(outside_ / "keep.txt", Temp() / "link.txt");
    archive::DeleteFromTemp("link.txt");
    EXPECT_FALSE(fs::exists(fs::symlink_status(Temp() / "link.txt")));
    EXPECT_TRUE(OutsideIntact());
}

TEST_F(WorkspaceTest, AFailedReadWritesNothing) {
    archive::SetUpWorkspace(Exe());
    EXPECT_THROW(archive::ExtractToTemp("board.dat", "missing.vbf"), base::IoFailure);
    EXPECT_EQ(CurrentDir(), program_);
    EXPECT_TRUE(fs::is_empty(Temp()));
    // Names that would leave Temp are refused before anything is read.
    WriteBytes(program_ / "a.vbf", Archive({{"..", "x"}}));
    EXPECT_THROW(archive::ExtractToTemp("..", "a.vbf"), base::IoFailure);
    EXPECT_THROW(archive::ExtractToTemp("../x", "a.vbf"), base::IoFailure);
}

TEST_F(WorkspaceTest, TeardownRemovesTempFromAnywhereAndCanRunTwice) {
    WriteBytes(program_ / "a.vbf", Archive({{"left.bmp", "x"}}));
    archive::SetUpWorkspace(Exe());
    archive::ExtractToTemp("left.bmp", "a.vbf");
    fs::current_path(outside_);

    archive::TearDownWorkspace();
    EXPECT_EQ(CurrentDir(), program_);
    EXPECT_FALSE(fs::exists(Temp()));
    archive::TearDownWorkspace();
    EXPECT_EQ(CurrentDir(), program_);
    EXPECT_TRUE(OutsideIntact());
}

TEST_F(WorkspaceTest, ATempLinkIsRemovedAsALinkAndNeverEntered) {
    fs::create_directory_symlink(outside_, Temp());
    archive::SetUpWorkspace(Exe());
    EXPECT_TRUE(OutsideIntact());
    EXPECT_FALSE(fs::is_symlink(Temp()));
    EXPECT_TRUE(fs::is_directory(Temp()));

    // Swapped for a link after start-up: extraction stops instead of following it.
    WriteBytes(program_ / "a.vbf", Archive({{"keep.txt", "overwritten"}}));
    fs::remove(Temp());
    fs::create_directory_symlink(outside_, Temp());
    try {
        archive::ExtractToTemp("keep.txt", "a.vbf");
        ADD_FAILURE() << "extracted through a link";
    } catch (const base::IoFailure& failure) {
        EXPECT_EQ(failure.what(), "Cannot enter folder " + Temp().string());
    }
    EXPECT_THROW(archive::DeleteFromTemp("keep.txt"), base::IoFailure);
    EXPECT_TRUE(OutsideIntact());

    archive::TearDownWorkspace();
    EXPECT_FALSE(fs::exists(fs::symlink_status(Temp())));
    EXPECT_TRUE(OutsideIntact());
}

TEST_F(WorkspaceTest, ATempThatCannotBeCreatedEndsStartUpNamingIt) {
    WriteText(Temp(), "a file in the way");
    try {
        archive::SetUpWorkspace(Exe());
        ADD_FAILURE() << "no failure";
    } catch (const base::IoFailure& failure) {
        EXPECT_EQ(failure.what(), "Cannot create folder " + Temp().string());
    }
    EXPECT_EQ(ReadText(Temp()), "a file in the way");
}

TEST_F(WorkspaceTest, AProgramFolderClosedToUsEndsStartUp) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    fs::permissions(program_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(archive::SetUpWorkspace(Exe()), base::IoFailure);
    fs::permissions(program_, fs::perms::owner_all);
    fs::create_directory(Temp());
    WriteText(Temp() / "stuck.txt", "x");
    fs::permissions(Temp(), fs::perms::none);
    EXPECT_THROW(archive::SetUpWorkspace(Exe()), base::IoFailure);
}

TEST_F(WorkspaceTest, TheProgramFolderIsThePathWithoutItsLastPart) {
    archive::ExeFileName = "/opt/game/koravex";
    EXPECT_EQ(archive::ExeFolder(), "/opt/game");
    archive::ExeFileName = "/koravex";
    EXPECT_EQ(archive::ExeFolder(), "/");
    // Before start-up there is no folder, so the teardown touches nothing.
    archive::ExeFileName.clear();
    fs::create_directory(dir_ / "Temp");
    archive::TearDownWorkspace();
    EXPECT_TRUE(fs::exists(dir_ / "Temp"));
}

} // namespace

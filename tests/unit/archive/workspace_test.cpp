#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "archive/workspace.h"
#include "base/failure.h"
#include "base/unique_fd.h"
#include "tests/support/archive/archive_fixture.h"

namespace {

using namespace kxtest;
namespace fs = std::filesystem;

// Sets an environment variable for one test and puts the old value back afterwards.
class EnvVar {
  public:
    explicit EnvVar(const char* name) : name_(name) {
        if (const char* value = std::getenv(name)) saved_ = value;
    }
    ~EnvVar() {
        if (saved_)
            setenv(name_, saved_->c_str(), 1);
        else
            unsetenv(name_);
    }
    void Set(const fs::path& value) const { setenv(name_, value.c_str(), 1); }
    void Unset() const { unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> saved_;
};

struct stat Stat(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
    return info;
}

class WorkspaceTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        program_ = dir_ / "game";
        fs::create_directory(program_);
        outside_ = dir_ / "outside";
        fs::create_directory(outside_);
        WriteText(outside_ / "keep.txt", "precious");
        // Private workspaces go inside the scratch folder, never the tester's own.
        runtime_ = dir_ / "run";
        fs::create_directory(runtime_);
        fs::permissions(runtime_, fs::perms::owner_all);
        runtimeVar_.Set(runtime_);
        home_ = dir_ / "home";
        fs::create_directory(home_);
        homeVar_.Set(home_);
        cacheVar_.Unset();
        // Unpacked with its archive: the layout that keeps Temp beside the program.
        WriteBytes(program_ / "adatok.vbf", {});
    }
    void TearDown() override {
        archive::TearDownWorkspace();
        archive::state.ExeFileName.clear();
        ScratchTest::TearDown();
    }

    fs::path Temp() const { return program_ / "Temp"; }
    std::string Exe() const { return (program_ / "koravex").string(); }
    bool OutsideIntact() const { return ReadText(outside_ / "keep.txt") == "precious"; }
    fs::path Workspace() const { return archive::state.TempWorkspace.path; }
    // A game killed without its teardown: its workspace stays, and its lock goes.
    static void Abandon() { archive::state.TempWorkspace = archive::Workspace{}; }
    // What a running or killed game leaves in a folder it made.
    static void Mark(const fs::path& folder) {
        WriteText(folder / archive::kTempMarkerName, "made by the game");
    }

    // The workspace is a fresh private folder of this user in `root`.
    void ExpectPrivateIn(const fs::path& root) {
        EXPECT_EQ(Workspace().parent_path(), root);
        EXPECT_EQ(Workspace().filename().string().rfind("Temp-", 0), 0u) << Workspace();
        const struct stat info = Stat(Workspace());
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_uid, geteuid());
        EXPECT_EQ(info.st_mode & 07777, 0700u);
        EXPECT_EQ(Stat(root).st_mode & 07777, 0700u);
        EXPECT_EQ(CurrentDir(), dir_) << "the current directory is never changed";
    }

    fs::path program_;
    fs::path outside_;
    fs::path runtime_;
    fs::path home_;
    EnvVar runtimeVar_{"XDG_RUNTIME_DIR"};
    EnvVar cacheVar_{"XDG_CACHE_HOME"};
    EnvVar homeVar_{"HOME"};
};

TEST_F(WorkspaceTest, StartUpEmptiesTheTempAKilledRunLeftAndLeavesTheCurrentDirectoryAlone) {
    archive::SetUpWorkspace(Exe());
    ASSERT_EQ(Workspace(), Temp());
    WriteText(Temp() / "old.bmp", "old");
    WriteText(Temp() / ".hidden", "old");
    fs::create_symlink(outside_ / "keep.txt", Temp() / "link.txt");
    fs::create_directory_symlink(outside_, Temp() / "linkdir");
    Abandon();
    fs::current_path(outside_);

    archive::SetUpWorkspace(Exe());
    EXPECT_EQ(archive::state.ExeFileName, Exe());
    EXPECT_EQ(Workspace(), Temp());
    EXPECT_EQ(CurrentDir(), outside_);
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(Temp())));
    EXPECT_FALSE(fs::exists(Temp() / "old.bmp"));
    EXPECT_FALSE(fs::exists(Temp() / ".hidden"));
    // Only plain files go: links stay links, and what they point to stays.
    EXPECT_TRUE(fs::is_symlink(Temp() / "link.txt"));
    EXPECT_TRUE(fs::is_symlink(Temp() / "linkdir"));
    EXPECT_TRUE(OutsideIntact());
}

// The user's own Temp beside the program, however private, was not made by the game: nothing
// in it is deleted at start or at the end, and the game works in a private folder.
TEST_F(WorkspaceTest, AUsersOwnTempBesideTheProgramIsNeverTouched) {
    fs::create_directory(Temp());
    fs::permissions(Temp(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    WriteText(Temp() / "thesis.odt", "years of work");
    WriteText(Temp() / "wood.bmp", "the user's picture");
    fs::create_symlink(outside_ / "keep.txt", Temp() / "notes.txt");
    WriteBytes(program_ / "a.vbf", Archive({{"wood.bmp", "the game's"}}));
    for (int run = 0; run < 2; ++run) {
        archive::SetUpWorkspace(Exe());
        ExpectPrivateIn(runtime_ / "koravex");
        archive::ExtractToTemp("wood.bmp", "a.vbf");
        archive::TearDownWorkspace();
        EXPECT_EQ(ReadText(Temp() / "thesis.odt"), "years of work");
        EXPECT_EQ(ReadText(Temp() / "wood.bmp"), "the user's picture");
        EXPECT_TRUE(fs::is_symlink(Temp() / "notes.txt"));
        EXPECT_FALSE(fs::exists(Temp() / archive::kTempMarkerName));
        EXPECT_TRUE(fs::is_empty(runtime_));
    }
}

TEST_F(WorkspaceTest, AFreshTempIsPrivateToItsUser) {
    const mode_t old = umask(0);
    archive::SetUpWorkspace(Exe());
    umask(old);
    EXPECT_EQ(Workspace(), Temp());
    EXPECT_EQ(Stat(Temp()).st_mode & 07777, 0700u);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(Temp() / archive::kTempMarkerName)));
    archive::TearDownWorkspace();
    EXPECT_FALSE(fs::exists(fs::symlink_status(Temp())));
    EXPECT_TRUE(fs::is_empty(runtime_));
}

TEST_F(WorkspaceTest, SubfoldersOfTempAreLeftAloneAndKeepTheFolder) {
    archive::SetUpWorkspace(Exe());
    fs::create_directories(Temp() / "sub");
    WriteText(Temp() / "sub" / "inner.txt", "inner");
    WriteText(Temp() / "loose.txt", "loose");
    Abandon();

    archive::SetUpWorkspace(Exe());
    EXPECT_EQ(Workspace(), Temp());
    EXPECT_FALSE(fs::exists(Temp() / "loose.txt"));
    EXPECT_EQ(ReadText(Temp() / "sub" / "inner.txt"), "inner");

    // The folder stays with its marker, so the next run still knows it for the game's.
    archive::TearDownWorkspace();
    EXPECT_TRUE(fs::exists(Temp() / "sub" / "inner.txt"));
    archive::SetUpWorkspace(Exe());
    EXPECT_EQ(Workspace(), Temp());
}

TEST_F(WorkspaceTest, ExtractionWritesIntoTempAndLeavesItCurrent) {
    WriteBytes(program_ / "a.vbf", Archive({{"board.dat", "new"}, {"pic.bmp", "picture"}}));
    archive::SetUpWorkspace(Exe());
    WriteText(Temp() / "board.dat", "a much longer old content");
    fs::create_symlink(outside_ / "keep.txt", Temp() / "pic.bmp");
    fs::current_path(outside_);

    archive::ExtractToTemp("board.dat", "a.vbf");
    EXPECT_EQ(CurrentDir(), outside_);
    EXPECT_EQ(ReadText(Temp() / "board.dat"), "new");

    // A link under the member's name is replaced, never written through.
    archive::ExtractToTemp("PIC.BMP", "a.vbf");
    EXPECT_FALSE(fs::is_symlink(Temp() / "PIC.BMP"));
    EXPECT_EQ(ReadText(Temp() / "PIC.BMP"), "picture");
    EXPECT_TRUE(OutsideIntact());

    archive::DeleteFromTemp("board.dat");
    EXPECT_EQ(CurrentDir(), outside_);
    EXPECT_FALSE(fs::exists(Temp() / "board.dat"));
    fs::create_symlink(outside_ / "keep.txt", Temp() / "link.txt");
    archive::DeleteFromTemp("link.txt");
    EXPECT_FALSE(fs::exists(fs::symlink_status(Temp() / "link.txt")));
    EXPECT_TRUE(OutsideIntact());
}

TEST_F(WorkspaceTest, AFailedReadWritesNothingAndAFailedWriteNamesItsPath) {
    archive::SetUpWorkspace(Exe());
    EXPECT_THROW(archive::ExtractToTemp("board.dat", "missing.vbf"), base::IoFailure);
    EXPECT_EQ(CurrentDir(), dir_);
    EXPECT_TRUE(HoldsNothingOfTheGames(Temp()));
    // Names that would leave Temp are refused before anything is read.
    WriteBytes(program_ / "a.vbf", Archive({{"..", "x"}, {"held.bmp", "x"}}));
    EXPECT_THROW(archive::ExtractToTemp("..", "a.vbf"), base::IoFailure);
    EXPECT_THROW(archive::ExtractToTemp("../x", "a.vbf"), base::IoFailure);

    fs::create_directory(Temp() / "held.bmp");
    try {
        archive::ExtractToTemp("held.bmp", "a.vbf");
        ADD_FAILURE() << "wrote over a folder";
    } catch (const base::IoFailure& failure) {
        EXPECT_EQ(failure.what(), "File access denied: " + (Temp() / "held.bmp").string());
    }
}

// Without its bare-name check DeleteFromTemp would reach any file the user may delete.
TEST_F(WorkspaceTest, DeleteFromTempReachesNothingOutsideTemp) {
    const auto tryEscapes = [&](const fs::path& temp) {
        const fs::path keep = outside_ / "keep.txt";
        const std::string relative = fs::relative(keep, temp).string();
        ASSERT_EQ(relative.rfind("../", 0), 0u) << relative;
        for (const std::string& name : {keep.string(), relative, std::string(".."),
                                        std::string("."), std::string("./../") + relative}) {
            archive::DeleteFromTemp(name);
            EXPECT_TRUE(OutsideIntact()) << "deleted through " << name;
            EXPECT_EQ(CurrentDir(), dir_);
        }
        EXPECT_TRUE(fs::is_directory(temp));
    };

    archive::SetUpWorkspace(Exe());
    ASSERT_EQ(Workspace(), Temp());
    tryEscapes(Temp());

    // The same from a private workspace, one folder deeper.
    archive::TearDownWorkspace();
    fs::create_directory_symlink(outside_, Temp());
    archive::SetUpWorkspace(Exe());
    ASSERT_NE(Workspace(), Temp());
    tryEscapes(Workspace());
}

TEST_F(WorkspaceTest, TeardownRemovesTempFromAnywhereAndCanRunTwice) {
    WriteBytes(program_ / "a.vbf", Archive({{"left.bmp", "x"}}));
    archive::SetUpWorkspace(Exe());
    archive::ExtractToTemp("left.bmp", "a.vbf");
    fs::current_path(outside_);

    archive::TearDownWorkspace();
    EXPECT_EQ(CurrentDir(), outside_);
    EXPECT_FALSE(fs::exists(Temp()));
    EXPECT_TRUE(archive::state.TempWorkspace.path.empty());
    archive::TearDownWorkspace();
    EXPECT_EQ(CurrentDir(), outside_);
    EXPECT_TRUE(OutsideIntact());
}

// Each way a Temp beside the program can fail to be ours. Every one is left exactly as it was,
// and the game works in a private folder instead.
TEST_F(WorkspaceTest, ATempThatIsNotOursIsLeftAloneForAPrivateWorkspace) {
    struct Case {
        const char* what;
        void (*make)(const fs::path& temp, const fs::path& outside);
    };
    const Case cases[] = {
        {"a link to a folder",
         [](const fs::path& temp, const fs::path& outside) {
             fs::create_directory_symlink(outside, temp);
         }},
        {"a file",
         [](const fs::path& temp, const fs::path&) { WriteText(temp, "a file in the way"); }},
        {"a folder anyone may write to",
         [](const fs::path& temp, const fs::path&) {
             fs::create_directory(temp);
             WriteText(temp / "theirs.txt", "theirs");
             fs::permissions(temp, fs::perms::all);
         }},
        {"a folder its group may write to",
         [](const fs::path& temp, const fs::path&) {
             fs::create_directory(temp);
             WriteText(temp / "theirs.txt", "theirs");
             fs::permissions(temp, fs::perms::owner_all | fs::perms::group_all);
         }},
        {"a sticky shared folder",
         [](const fs::path& temp, const fs::path&) {
             fs::create_directory(temp);
             WriteText(temp / "theirs.txt", "theirs");
             fs::permissions(temp, fs::perms::all | fs::perms::sticky_bit);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.make(Temp(), outside_);
        const struct stat before = Stat(Temp());
        archive::SetUpWorkspace(Exe());
        ExpectPrivateIn(runtime_ / "koravex");
        WriteBytes(program_ / "a.vbf", Archive({{"theirs.txt", "ours"}, {"keep.txt", "ours"}}));
        archive::ExtractToTemp("theirs.txt", "a.vbf");
        archive::ExtractToTemp("keep.txt", "a.vbf");
        EXPECT_EQ(ReadText(Workspace() / "theirs.txt"), "ours");

        archive::TearDownWorkspace();
        const struct stat after = Stat(Temp());
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
        if (S_ISDIR(after.st_mode)) {
            EXPECT_EQ(ReadText(Temp() / "theirs.txt"), "theirs");
        }
        EXPECT_TRUE(OutsideIntact());
        EXPECT_TRUE(fs::is_empty(runtime_));
        fs::remove_all(Temp());
    }
}

TEST_F(WorkspaceTest, ATempOfAnotherUserIsLeftAlone) {
    if (geteuid() != 0) GTEST_SKIP() << "only the superuser can give a folder away";
    fs::create_directory(Temp());
    WriteText(Temp() / "theirs.txt", "theirs");
    ASSERT_EQ(chown(Temp().c_str(), 65534, 65534), 0);
    ASSERT_EQ(chown((Temp() / "theirs.txt").c_str(), 65534, 65534), 0);

    archive::SetUpWorkspace(Exe());
    ExpectPrivateIn(runtime_ / "koravex");
    archive::TearDownWorkspace();
    EXPECT_EQ(ReadText(Temp() / "theirs.txt"), "theirs");
    EXPECT_EQ(Stat(Temp()).st_uid, 65534u);
}

TEST_F(WorkspaceTest, ATempSwappedForALinkAfterStartUpIsNeverEntered) {
    archive::SetUpWorkspace(Exe());
    ASSERT_EQ(Workspace(), Temp());
    WriteBytes(program_ / "a.vbf", Archive({{"keep.txt", "overwritten"}}));
    fs::remove_all(Temp());
    fs::create_directory_symlink(outside_, Temp());
    try {
        archive::ExtractToTemp("keep.txt", "a.vbf");
        ADD_FAILURE() << "extracted through a link";
    } catch (const base::IoFailure& failure) {
        EXPECT_EQ(failure.what(), "Cannot enter folder " + Temp().string());
    }
    EXPECT_THROW(archive::DeleteFromTemp("keep.txt"), base::IoFailure);
    EXPECT_TRUE(OutsideIntact());

    // The link is not ours either: the teardown leaves it.
    archive::TearDownWorkspace();
    EXPECT_TRUE(fs::is_symlink(Temp()));
    EXPECT_TRUE(OutsideIntact());
}

// A Temp held by another running game is left to it: its files stay, and this run works in a
// private folder.
TEST_F(WorkspaceTest, ATempInUseByAnotherGameIsLeftToIt) {
    archive::SetUpWorkspace(Exe());
    Abandon();
    WriteText(Temp() / "wood.bmp", "being read");
    base::UniqueFd other(open(Temp().c_str(), O_RDONLY | O_DIRECTORY));
    ASSERT_EQ(flock(other.fd, LOCK_EX | LOCK_NB), 0);

    archive::SetUpWorkspace(Exe());
    ExpectPrivateIn(runtime_ / "koravex");
    archive::TearDownWorkspace();
    EXPECT_EQ(ReadText(Temp() / "wood.bmp"), "being read");

    // Once that game has ended, Temp beside the program is ours again.
    other = base::UniqueFd();
    archive::SetUpWorkspace(Exe());
    EXPECT_EQ(Workspace(), Temp());
    EXPECT_FALSE(fs::exists(Temp() / "wood.bmp"));
}

// Private folders are one per process: another game's stays when this one ends, and with it
// the koravex folder holding both.
TEST_F(WorkspaceTest, PrivateWorkspacesAreOnePerProcess) {
    fs::create_directory_symlink(outside_, Temp());
    const fs::path root = runtime_ / "koravex";
    fs::create_directory(root);
    fs::permissions(root, fs::perms::owner_all);
    Mark(root);
    const fs::path other = root / "Temp-other";
    fs::create_directory(other);
    fs::permissions(other, fs::perms::owner_all);
    Mark(other);
    WriteText(other / "wood.bmp", "theirs");
    // That game is running: it holds its workspace's lock.
    base::UniqueFd running(open(other.c_str(), O_RDONLY | O_DIRECTORY));
    ASSERT_EQ(flock(running.fd, LOCK_EX | LOCK_NB), 0);

    archive::SetUpWorkspace(Exe());
    ExpectPrivateIn(root);
    EXPECT_NE(Workspace(), other);
    const fs::path first = Workspace();
    archive::SetUpWorkspace(Exe());
    EXPECT_NE(Workspace(), first);
    EXPECT_FALSE(fs::exists(first));

    archive::TearDownWorkspace();
    EXPECT_EQ(ReadText(other / "wood.bmp"), "theirs");
    EXPECT_TRUE(fs::is_directory(root));
    running = base::UniqueFd();
    fs::remove_all(other);
    archive::SetUpWorkspace(Exe());
    archive::TearDownWorkspace();
    EXPECT_TRUE(fs::is_empty(runtime_));
}

TEST_F(WorkspaceTest, WithoutARuntimeFolderTheCacheFolderHoldsThePrivateWorkspace) {
    fs::create_directory_symlink(outside_, Temp());
    runtimeVar_.Unset();

    const fs::path cache = dir_ / "cache";
    cacheVar_.Set(cache);
    archive::SetUpWorkspace(Exe());
    ExpectPrivateIn(cache / "koravex");
    archive::TearDownWorkspace();
    // A cache folder the game had to make goes with it.
    EXPECT_FALSE(fs::exists(cache));

    cacheVar_.Unset();
    archive::SetUpWorkspace(Exe());
    ExpectPrivateIn(home_ / ".cache" / "koravex");
    archive::TearDownWorkspace();
    EXPECT_TRUE(fs::is_empty(home_));

    // A cache folder the user had keeps whatever else is in it.
    fs::create_directories(home_ / ".cache" / "other");
    archive::SetUpWorkspace(Exe());
    ExpectPrivateIn(home_ / ".cache" / "koravex");
    archive::TearDownWorkspace();
    EXPECT_TRUE(fs::is_directory(home_ / ".cache" / "other"));
    EXPECT_FALSE(fs::exists(home_ / ".cache" / "koravex"));
}

TEST_F(WorkspaceTest, WithNoPrivateFolderToBeHadStartUpStopsNamingThePath) {
    fs::create_directory_symlink(outside_, Temp());
    const fs::path root = runtime_ / "koravex";
    fs::create_directory(root);
    fs::permissions(root, fs::perms::all);
    WriteText(dir_ / "cache", "not a folder");
    cacheVar_.Set(dir_ / "cache");
    try {
        archive::SetUpWorkspace(Exe());
        ADD_FAILURE() << "no failure";
    } catch (const base::IoFailure& failure) {
        const std::string text = failure.what();
        EXPECT_NE(text.find("Folder " + root.string() + " is not private to this user"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find((dir_ / "cache" / "koravex").string()), std::string::npos) << text;
    }
    EXPECT_TRUE(archive::state.TempWorkspace.path.empty());
    EXPECT_TRUE(fs::is_empty(root));
    EXPECT_TRUE(OutsideIntact());
}

TEST_F(WorkspaceTest, AProgramFolderClosedToUsGetsAPrivateWorkspace) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    fs::permissions(program_, fs::perms::owner_read | fs::perms::owner_exec);
    archive::SetUpWorkspace(Exe());
    ExpectPrivateIn(runtime_ / "koravex");
    EXPECT_FALSE(fs::exists(Temp()));
    archive::TearDownWorkspace();
    EXPECT_TRUE(fs::is_empty(runtime_));

    fs::permissions(program_, fs::perms::owner_all);
    fs::create_directory(Temp());
    WriteText(Temp() / "stuck.txt", "x");
    fs::permissions(Temp(), fs::perms::none);
    archive::SetUpWorkspace(Exe());
    ExpectPrivateIn(runtime_ / "koravex");
}

TEST_F(WorkspaceTest, TheArchiveIsBesideTheProgramElseInTheInstalledDataFolder) {
    const fs::path bin = dir_ / "prefix" / "bin";
    fs::create_directories(bin);
    const fs::path data = (bin / KX_DATA_FROM_BIN / "koravex").lexically_normal();
    EXPECT_EQ(archive::FindArchive(bin.string()), "adatok.vbf");

    fs::create_directories(data);
    WriteBytes(data / "adatok.vbf", Archive({{"board.dat", "installed"}}));
    EXPECT_EQ(archive::FindArchive(bin.string()), (data / "adatok.vbf").string());
    archive::SetUpWorkspace((bin / "koravex").string());
    EXPECT_EQ(archive::state.ArchiveName, (data / "adatok.vbf").string());
    archive::ExtractToTemp("board.dat", archive::state.ArchiveName);
    EXPECT_EQ(ReadText(Workspace() / "board.dat"), "installed");
    // Installed, the game never writes beside its program, even where it may.
    EXPECT_EQ(Workspace().parent_path(), runtime_ / "koravex");
    EXPECT_TRUE(fs::is_empty(bin));
    archive::TearDownWorkspace();

    // Anything beside the program wins, even a broken one: it is reported, not passed over.
    fs::create_symlink(dir_ / "nowhere", bin / "adatok.vbf");
    EXPECT_EQ(archive::FindArchive(bin.string()), "adatok.vbf");
}

TEST_F(WorkspaceTest, TheProgramFolderIsThePathWithoutItsLastPart) {
    archive::state.ExeFileName = "/opt/game/koravex";
    EXPECT_EQ(archive::ExeFolder(), "/opt/game");
    archive::state.ExeFileName = "/koravex";
    EXPECT_EQ(archive::ExeFolder(), "/");
    // Before start-up there is no workspace, so the teardown touches nothing.
    archive::state.ExeFileName.clear();
    fs::create_directory(dir_ / "Temp");
    archive::TearDownWorkspace();
    EXPECT_TRUE(fs::exists(dir_ / "Temp"));
}

// Games killed without their teardown leave private folders whose lock is free: the next start
// removes them. A running game's folder, anything but plain files, and anything not a folder of
// this user's named like a workspace stay.
TEST_F(WorkspaceTest, StaleWorkspacesOfKilledGamesGoAtTheNextStart) {
    fs::remove(program_ / "adatok.vbf");
    const fs::path cache = dir_ / "cache";
    cacheVar_.Set(cache);
    std::vector<fs::path> killed;
    for (int run = 0; run < 3; ++run) {
        archive::SetUpWorkspace(Exe());
        WriteText(Workspace() / "wood.bmp", "left");
        killed.push_back(Workspace());
        Abandon();
    }
    // One in the cache folder's koravex folder too.
    runtimeVar_.Unset();
    archive::SetUpWorkspace(Exe());
    killed.push_back(Workspace());
    Abandon();
    runtimeVar_.Set(runtime_);

    const fs::path root = runtime_ / "koravex";
    archive::SetUpWorkspace(Exe());
    const fs::path running = Workspace();
    Abandon();
    base::UniqueFd lock(open(running.c_str(), O_RDONLY | O_DIRECTORY));
    ASSERT_EQ(flock(lock.fd, LOCK_EX | LOCK_NB), 0);
    fs::create_directories(root / "Temp-withsub" / "sub");
    fs::permissions(root / "Temp-withsub", fs::perms::owner_all);
    Mark(root / "Temp-withsub");
    WriteText(root / "Temp-withsub" / "loose.bmp", "left");
    fs::create_directory_symlink(outside_, root / "Temp-link");
    fs::create_directory(root / "notes");
    WriteText(root / "notes" / "keep.txt", "kept");

    archive::SetUpWorkspace(Exe());
    for (const auto& folder : killed)
        EXPECT_FALSE(fs::exists(folder)) << folder;
    EXPECT_TRUE(fs::exists(running / "wood.bmp") || fs::is_directory(running));
    EXPECT_TRUE(fs::is_directory(root / "Temp-withsub" / "sub"));
    EXPECT_FALSE(fs::exists(root / "Temp-withsub" / "loose.bmp"));
    EXPECT_TRUE(fs::exists(root / "Temp-withsub" / archive::kTempMarkerName));
    EXPECT_TRUE(fs::is_symlink(root / "Temp-link"));
    EXPECT_EQ(ReadText(root / "notes" / "keep.txt"), "kept");
    EXPECT_TRUE(OutsideIntact());
}

// With the cache folder set to the home folder, ~/koravex is the game's root: a folder of the
// user's there named like a workspace, and a koravex folder the user made, are never the game's
// to remove, at start, after a kill or at the end.
TEST_F(WorkspaceTest, TheUsersFoldersWhereTheGameWorksAreNeverRemoved) {
    fs::remove(program_ / "adatok.vbf");
    runtimeVar_.Unset();
    cacheVar_.Set(home_);
    const fs::path root = home_ / "koravex";
    fs::create_directories(root / "Temp-2019");
    WriteText(root / "Temp-2019" / "photo.jpg", "the user's photo");
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run == 0 ? "a user's Temp-2019 inside" : "empty");
        archive::SetUpWorkspace(Exe());
        EXPECT_EQ(Workspace().parent_path(), root);
        EXPECT_TRUE(fs::exists(Workspace() / archive::kTempMarkerName));
        const fs::path killed = Workspace();
        Abandon();
        archive::SetUpWorkspace(Exe());
        EXPECT_FALSE(fs::exists(killed));
        archive::TearDownWorkspace();
        EXPECT_TRUE(fs::is_directory(root));
        EXPECT_FALSE(fs::exists(root / archive::kTempMarkerName));
        if (run == 0) {
            EXPECT_EQ(ReadText(root / "Temp-2019" / "photo.jpg"), "the user's photo");
            std::error_code error;
            EXPECT_EQ(std::distance(fs::directory_iterator(root, error), {}), 1);
            fs::remove_all(root / "Temp-2019");
        } else {
            EXPECT_TRUE(fs::is_empty(root));
        }
    }
}

// A portable game works beside its program, yet the marked workspace a killed installed game
// left goes at its start, and with it the marked koravex folder it leaves empty.
TEST_F(WorkspaceTest, AKilledGamesWorkspaceAndTheKoravexFolderItMadeGoAtTheNextStart) {
    fs::remove(program_ / "adatok.vbf");
    const fs::path root = runtime_ / "koravex";
    archive::SetUpWorkspace(Exe());
    ASSERT_EQ(Workspace().parent_path(), root);
    EXPECT_TRUE(fs::is_regular_file(root / archive::kTempMarkerName));
    WriteText(Workspace() / "wood.bmp", "left");
    Abandon();

    WriteBytes(program_ / "adatok.vbf", {});
    archive::SetUpWorkspace(Exe());
    EXPECT_EQ(Workspace(), Temp());
    EXPECT_FALSE(fs::exists(root));
    archive::TearDownWorkspace();
    EXPECT_TRUE(fs::is_empty(runtime_));
}

// SDL shows some boxes from a plain fork of the game. The lock belongs to the open folder, so
// a child keeping its copy would keep Temp locked after the game is gone, and the next game
// could neither use nor clear it. The child's copy goes; the game's lock stays.
TEST_F(WorkspaceTest, AForkedChildHoldsNoLockOnTheWorkspace) {
    archive::SetUpWorkspace(Exe());
    ASSERT_EQ(Workspace(), Temp());
    const auto lockable = [&] {
        const base::UniqueFd probe(open(Temp().c_str(), O_RDONLY | O_DIRECTORY));
        return probe.fd >= 0 && flock(probe.fd, LOCK_EX | LOCK_NB) == 0;
    };
    int hold[2];
    int ready[2];
    ASSERT_EQ(pipe(hold), 0);
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    char byte = 0;
    if (child == 0) {
        // Says it runs (its fork handlers have run), then lives until the test closes the pipe.
        close(hold[1]);
        close(ready[0]);
        if (write(ready[1], &byte, 1) != 1) _exit(2);
        _exit(static_cast<int>(read(hold[0], &byte, 1)));
    }
    close(hold[0]);
    close(ready[1]);
    EXPECT_GT(child, 0);
    EXPECT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    EXPECT_FALSE(lockable()) << "the game lost its lock in the child";
    Abandon();
    EXPECT_TRUE(lockable()) << "the child holds the workspace's lock";
    WriteText(Temp() / "wood.bmp", "left");
    archive::SetUpWorkspace(Exe());
    EXPECT_EQ(Workspace(), Temp());
    EXPECT_FALSE(fs::exists(Temp() / "wood.bmp"));
    close(hold[1]);
    int status = -1;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(status, 0);
}

// Paths come from the system and the user's variables: a folder name holding control bytes
// shows them escaped, never raw.
TEST_F(WorkspaceTest, MessagesShowControlBytesInPathsEscaped) {
    fs::remove(program_ / "adatok.vbf");
    runtimeVar_.Unset();
    const fs::path cache = dir_ / "ca\x1b]0;owned\x07\x1b[7mche";
    WriteText(cache, "not a folder");
    cacheVar_.Set(cache);
    try {
        archive::SetUpWorkspace(Exe());
        ADD_FAILURE() << "no failure";
    } catch (const base::IoFailure& failure) {
        const std::string text = failure.what();
        EXPECT_EQ(text.find_first_of("\x1b\x07"), std::string::npos) << text;
        EXPECT_NE(text.find("ca\\x1b]0;owned\\x07\\x1b[7mche/koravex"), std::string::npos) << text;
    }
}

} // namespace

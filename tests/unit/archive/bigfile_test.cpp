#include <sys/stat.h>

#include <limits>

#include "archive/bigfile.h"
#include "archive/bigfile_directory.h"
#include "base/failure.h"
#include "tests/support/archive/archive_fixture.h"

namespace {

using namespace kxtest;
using base::MemoryBlock;
using archive::ReadFromBigfile;

std::string Text(const MemoryBlock& block) {
    return std::string(block.Bytes().begin(), block.Bytes().end());
}

class BigfileTest : public ScratchTest {
  protected:
    // The request must fail with an input/output failure carrying `thrown`, after exactly
    // the engine boxes given, and deliver nothing.
    void ExpectFailure(const std::string& name, const std::string& archiveName,
                       const std::string& thrown, const std::vector<std::string>& boxTexts) {
        platform::testing::Double().boxes.clear();
        MemoryBlock block;
        try {
            ReadFromBigfile(name, archiveName, block);
            ADD_FAILURE() << "no failure for " << name;
        } catch (const base::IoFailure& failure) {
            EXPECT_EQ(failure.what(), thrown);
        }
        EXPECT_TRUE(block.Empty());
        ASSERT_EQ(Boxes().size(), boxTexts.size());
        for (std::size_t k = 0; k < boxTexts.size(); ++k) {
            EXPECT_EQ(Boxes()[k].caption, "VEngine internal error");
            EXPECT_EQ(Boxes()[k].text, boxTexts[k]);
        }
    }

    void ExpectDamaged(const Bytes& bytes) {
        WriteBytes("a.vbf", bytes);
        ExpectFailure("x.dat", "a.vbf", "Bigfile(a.vbf) is damaged!",
                      {"Bigfile(a.vbf) is damaged!"});
    }

    void ExpectReadBeyondEnd(const Bytes& bytes, const std::string& name = "x.dat") {
        WriteBytes("a.vbf", bytes);
        ExpectFailure(name, "a.vbf", "Read beyond end of file: a.vbf", {});
    }
};

TEST_F(BigfileTest, ReadsMembersWholeWhereverTheirDataLies) {
    // Data in the reverse order of the directory.
    WriteBytes("a.vbf", RawArchive(2,
                                   {{NameField("one.txt"), 3, 4 + 2 * 58 + 5},
                                    {NameField("two.txt"), 5, 4 + 2 * 58}},
                                   "TWO!!one"));
    MemoryBlock block;
    EXPECT_EQ(ReadFromBigfile("one.txt", "a.vbf", block), 3);
    EXPECT_EQ(Text(block), "one");
    base::FreeBlock(block);
    EXPECT_EQ(ReadFromBigfile("two.txt", "a.vbf", block), 5);
    EXPECT_EQ(Text(block), "TWO!!");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(BigfileTest, NamesMatchInAnyAsciiCaseAndTheFirstEntryWins) {
    WriteBytes("a.vbf", Archive({{"wood.bmp", "lower"},
                                 {"WOOD.BMP", "upper"},
                                 {"HELP.BMP", "help"},
                                 {"caf\xc3\xa9.bmp", "accent"}}));
    MemoryBlock block;
    ReadFromBigfile("WOOD.BMP", "a.vbf", block);
    EXPECT_EQ(Text(block), "lower");
    ReadFromBigfile("Wood.Bmp", "a.vbf", block);
    EXPECT_EQ(Text(block), "lower");
    ReadFromBigfile("help.bmp", "a.vbf", block);
    EXPECT_EQ(Text(block), "help");
    ReadFromBigfile("CAF\xc3\xa9.BMP", "a.vbf", block);
    EXPECT_EQ(Text(block), "accent");
    // Only a..z fold: a non-ASCII letter in the other case is another name.
    ExpectFailure("caf\xc3\x89.bmp", "a.vbf",
                  "File(caf\\xc3\\x89.bmp) not found in bigfile(a.vbf) !!",
                  {"File(caf\\xc3\\x89.bmp) not found in bigfile(a.vbf) !!"});
}

TEST_F(BigfileTest, NameFieldsYieldTheBytesUpToTheirFirstZeroWithinL) {
    Bytes empty(50, 0);                      // L = 0
    Bytes unterminated = NameField("x.dat"); // zero byte only after the L bytes
    unterminated[0] = 5;
    Bytes trailing(50, 0); // L = 14, "negyzetek.dat", zero: the spelling of the game's archive
    trailing[0] = 14;
    const std::string name = "negyzetek.dat";
    std::copy(name.begin(), name.end(), trailing.begin() + 1);
    Bytes garbage = NameField("a.bmp"); // bytes after the zero within L are not part of the name
    garbage[0] = 49;
    for (int i = 7; i < 50; ++i)
        garbage[i] = 'Z';
    WriteBytes(
        "a.vbf",
        RawArchive(4, {{empty, 1, 0}, {unterminated, 1, 0}, {trailing, 2, 0}, {garbage, 3, 0}}));
    MemoryBlock block;
    EXPECT_EQ(ReadFromBigfile("negyzetek.dat", "a.vbf", block), 2);
    EXPECT_EQ(ReadFromBigfile("a.bmp", "a.vbf", block), 3);
    ExpectFailure("x.dat", "a.vbf", "File(x.dat) not found in bigfile(a.vbf) !!",
                  {"File(x.dat) not found in bigfile(a.vbf) !!"});
    ExpectFailure("", "a.vbf", "File() not found in bigfile(a.vbf) !!",
                  {"File() not found in bigfile(a.vbf) !!"});
}

TEST_F(BigfileTest, ReportsTheFourFailuresWithTheirOwnTexts) {
    ExpectFailure("x.dat", "none.vbf",
                  "Bigfile(none.vbf) is missing or blocked by another application!",
                  {"Bigfile(none.vbf) is missing or blocked by another application!"});

    WriteBytes("empty.vbf", RawArchive(0, {}));
    ExpectFailure("x.dat", "empty.vbf", "File(x.dat) not found in bigfile(empty.vbf) !!",
                  {"File(x.dat) not found in bigfile(empty.vbf) !!"});

    WriteBytes("neg.vbf", RawArchive(1, {{NameField("x.dat"), 1, -1}}, "x"));
    ExpectFailure("X.DAT", "neg.vbf", "Bigfile(neg.vbf) is damaged!",
                  {"Bigfile(neg.vbf) is damaged!"});

    ExpectFailure("missing.txt", "",
                  "File not found or blocked by another application! missing.txt",
                  {"File not found or blocked by another application! missing.txt"});
}

TEST_F(BigfileTest, AnythingButARegularFileCannotBeOpened) {
    std::filesystem::create_directory("dir.vbf");
    ExpectFailure("x", "dir.vbf", "Bigfile(dir.vbf) is missing or blocked by another application!",
                  {"Bigfile(dir.vbf) is missing or blocked by another application!"});
    // A pipe with no writer must not stall the program.
    ASSERT_EQ(mkfifo("pipe.vbf", 0600), 0);
    ExpectFailure("x", "pipe.vbf",
                  "Bigfile(pipe.vbf) is missing or blocked by another application!",
                  {"Bigfile(pipe.vbf) is missing or blocked by another application!"});
    ExpectFailure("pipe.vbf", "", "File not found or blocked by another application! pipe.vbf",
                  {"File not found or blocked by another application! pipe.vbf"});
}

TEST_F(BigfileTest, ReadOnlyArchivesAndFilesLoad) {
    WriteBytes("a.vbf", Archive({{"x.dat", "data"}}));
    WriteText("plain.txt", "plain");
    std::filesystem::permissions("a.vbf", std::filesystem::perms::owner_read);
    std::filesystem::permissions("plain.txt", std::filesystem::perms::owner_read);
    MemoryBlock block;
    EXPECT_EQ(ReadFromBigfile("x.dat", "a.vbf", block), 4);
    EXPECT_EQ(ReadFromBigfile("plain.txt", "", block), 5);
    EXPECT_EQ(Text(block), "plain");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(BigfileTest, EntriesOutsideTheFormatAreDamage) {
    ExpectDamaged(RawArchive(-1, {}));
    Bytes longName = NameField("x.dat");
    longName[0] = 50;
    ExpectDamaged(RawArchive(1, {{longName, 1, 4 + 58}}, "x"));
    ExpectDamaged(RawArchive(1, {{NameField("x.dat"), -5, 4 + 58}}, "x"));
    // A bad entry before the wanted one stops the scan.
    ExpectDamaged(RawArchive(2, {{NameField("y.dat"), 1, -1}, {NameField("x.dat"), 1, 4}}));
    // L = 49, the largest length the field holds, is fine.
    Bytes widest = NameField("x.dat");
    widest[0] = 49;
    WriteBytes("b.vbf", RawArchive(1, {{widest, 1, 4}}));
    MemoryBlock block;
    EXPECT_EQ(ReadFromBigfile("x.dat", "b.vbf", block), 1);
}

TEST_F(BigfileTest, ShortFilesReadBeyondTheirEnd) {
    ExpectReadBeyondEnd({0x01, 0x00});                                // inside the count
    ExpectReadBeyondEnd(RawArchive(2, {{NameField("y.dat"), 1, 4}})); // inside the directory
    ExpectReadBeyondEnd(RawArchive(1, {{NameField("x.dat"), 10, 62}}, "short"));
    ExpectReadBeyondEnd(RawArchive(1, {{NameField("x.dat"), 1, 1000}}, "x"));
    // A forged size is refused before a block of that size is made.
    ExpectReadBeyondEnd(
        RawArchive(1, {{NameField("x.dat"), std::numeric_limits<std::int32_t>::max(), 4}}));
    ExpectReadBeyondEnd(RawArchive(archive::kBigfileMaxEntries, {{NameField("y.dat"), 1, 4}}));
}

TEST_F(BigfileTest, ACountUpToTheCapDoesNotHideAnEarlyMatchAndOneAboveIsDamage) {
    WriteBytes("a.vbf",
               RawArchive(archive::kBigfileMaxEntries, {{NameField("x.dat"), 2, 4 + 58}}, "ok"));
    MemoryBlock block;
    EXPECT_EQ(ReadFromBigfile("x.dat", "a.vbf", block), 2);
    EXPECT_EQ(Text(block), "ok");
    // A forged count is refused before a directory of that size is read.
    for (const std::int32_t count :
         {archive::kBigfileMaxEntries + 1, std::numeric_limits<std::int32_t>::max()})
        ExpectDamaged(RawArchive(count, {{NameField("x.dat"), 2, 4 + 58}}, "ok"));
}

// Over its cap a member is damage, found from its entry: a forged size costs nothing.
TEST_F(BigfileTest, AMemberOverItsCapIsDamageNamingItBeforeAnythingIsRead) {
    WriteBytes("a.vbf", RawArchive(2,
                                   {{NameField("x.dat"), 10, 4 + 2 * 58},
                                    {NameField("huge.3ds"), 2000000000, 4 + 2 * 58}},
                                   "0123456789"));
    MemoryBlock block;
    EXPECT_EQ(ReadFromBigfile("x.dat", "a.vbf", block, 10), 10);
    const std::string text =
        "Bigfile(a.vbf) is damaged! huge.3ds holds 2000000000 bytes, more than the 16 it may.";
    platform::testing::Double().boxes.clear();
    EXPECT_THROW(ReadFromBigfile("huge.3ds", "a.vbf", block, 16), base::IoFailure);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, text);
    EXPECT_TRUE(block.Empty());
    WriteText("plain.txt", "0123456789");
    EXPECT_THROW(ReadFromBigfile("plain.txt", "", block, 9), base::IoFailure);
}

// While a load keeps directories, a file rewritten under the same look is not read again:
// the directory read first stands for every look-up.
TEST_F(BigfileTest, ALoadReadsTheDirectoryOnce) {
    const Bytes original = Archive({{"x.dat", "data"}, {"y.dat", "more"}});
    WriteBytes("a.vbf", original);
    const auto written = std::filesystem::last_write_time("a.vbf");
    const auto forge = [&] {
        Bytes forged = original;
        std::fill(forged.begin() + 4, forged.begin() + 4 + 2 * 58, 0xFF);
        WriteBytes("a.vbf", forged);
        std::filesystem::last_write_time("a.vbf", written);
    };
    MemoryBlock block;
    {
        const archive::KeepDirectories load;
        EXPECT_EQ(ReadFromBigfile("x.dat", "a.vbf", block), 4);
        forge();
        EXPECT_EQ(ReadFromBigfile("y.dat", "a.vbf", block), 4);
        EXPECT_EQ(Text(block), "more");
        // A file replaced under the name is a new archive.
        std::filesystem::rename("a.vbf", "b.vbf");
        WriteBytes("a.vbf", Archive({{"z.dat", "new"}}));
        EXPECT_EQ(ReadFromBigfile("z.dat", "a.vbf", block), 3);
        std::filesystem::rename("b.vbf", "a.vbf");
    }
    ExpectFailure("x.dat", "a.vbf", "Bigfile(a.vbf) is damaged!", {"Bigfile(a.vbf) is damaged!"});
}

TEST_F(BigfileTest, EmptyMembersAndFilesReportAndDeliverNothing) {
    WriteBytes("a.vbf", RawArchive(1, {{NameField("x.dat"), 0, 62}}));
    WriteText("empty.txt", "");
    for (const auto& [name, archiveName] :
         std::vector<std::pair<std::string, std::string>>{{"x.dat", "a.vbf"}, {"empty.txt", ""}}) {
        platform::testing::Double().boxes.clear();
        MemoryBlock block;
        base::AllocBlock(block, 8);
        EXPECT_EQ(ReadFromBigfile(name, archiveName, block), 0);
        EXPECT_TRUE(block.Empty());
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].text, "Not enough memory to run this application !");
    }
}

TEST_F(BigfileTest, PlainFilesAreReadWhole) {
    const std::string content(70000, 'q');
    WriteText("big.txt", content + "end");
    MemoryBlock block;
    EXPECT_EQ(ReadFromBigfile("big.txt", "", block), 70003);
    EXPECT_EQ(Text(block), content + "end");
}

TEST(BigfileDirectory, ParsesWholeDirectoriesAndStopsAtTheFirstFault) {
    const auto full = Archive({{"a", "1"}, {"b", "22"}});
    auto directory = archive::ReadBigfileDirectory(full);
    EXPECT_EQ(directory.status, archive::DirectoryStatus::Ok);
    ASSERT_EQ(directory.entries.size(), 2u);
    EXPECT_EQ(directory.entries[1].name, "b");
    EXPECT_EQ(directory.entries[1].size, 2);
    EXPECT_EQ(directory.entries[1].offset, 4 + 2 * 58 + 1);

    const Bytes cut(full.begin(), full.begin() + 4 + 58 + 20);
    directory = archive::ReadBigfileDirectory(cut);
    EXPECT_EQ(directory.status, archive::DirectoryStatus::Truncated);
    EXPECT_EQ(directory.entries.size(), 1u);

    directory = archive::ReadBigfileDirectory(
        RawArchive(3, {{NameField("a"), 1, 0}, {NameField("b"), 1, -2}}));
    EXPECT_EQ(directory.status, archive::DirectoryStatus::Damaged);
    EXPECT_EQ(directory.entries.size(), 1u);
}

TEST(BigfileDirectory, EncodedEntriesReadBackAndLongNamesAreRefused) {
    const archive::BigfileEntry entry{std::string(48, 'n'), 12, 345};
    const auto bytes = archive::EncodeBigfileEntry(entry);
    EXPECT_EQ(bytes[0], 49);
    base::ByteCursor cursor(bytes);
    archive::BigfileEntry back;
    ASSERT_EQ(archive::ReadBigfileEntry(cursor, back), archive::DirectoryStatus::Ok);
    EXPECT_EQ(back.name, entry.name);
    EXPECT_EQ(back.size, 12);
    EXPECT_EQ(back.offset, 345);
    EXPECT_TRUE(archive::IsStorableBigfileName(std::string(48, 'n')));
    EXPECT_FALSE(archive::IsStorableBigfileName(std::string(49, 'n')));
    EXPECT_FALSE(archive::IsStorableBigfileName(""));
    EXPECT_FALSE(archive::IsStorableBigfileName(std::string("a\0b", 3)));
}

} // namespace

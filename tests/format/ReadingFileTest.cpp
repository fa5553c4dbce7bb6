#include "format/ReadingFile.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class ReadingFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("nodalis-test-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
    }
    void TearDown() override {
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }

    fs::path folder;
};

NodeReading reading(std::string name, int day, std::string month, int year) {
    NodeReading r;
    r.name = std::move(name);
    r.day = static_cast<std::int16_t>(day);
    r.monthName = std::move(month);
    r.year = static_cast<std::int16_t>(year);
    return r;
}

std::string contentsOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string hexBytes(std::initializer_list<unsigned char> values) {
    return {values.begin(), values.end()};
}

TEST(ReadingFileFormat, storesFourScrambledLinesEachEndingInCrLf) {
    EXPECT_EQ(formatReadingFile(reading("ABC", 7, "March", 1975)),
              hexBytes({0x96, 0x97, 0x98, 0x0D, 0x0A, 0x8C, 0x0D, 0x0A, 0xA2, 0xB6, 0xC7,
                        0xB8, 0xBD, 0x0D, 0x0A, 0x86, 0x8E, 0x8C, 0x8A, 0x0D, 0x0A}));
    EXPECT_TRUE(formatReadingFile(reading("", 1, "May", 1950)).starts_with("\r\n"));
}

TEST(ReadingFileFormat, nameIsStoredInWindows1252) {
    // e-acute is byte 233 there, too high for the codec; the o with a diaeresis is not.
    const auto lines =
        parseReadingFile(formatReadingFile(reading("Z\u00F6E\u00E9", 1, "May", 1950)));
    EXPECT_EQ(lines.name, "ZE");
    const auto bytes = formatReadingFile(reading("\u0160", 1, "May", 1950));
    EXPECT_EQ(bytes.substr(0, 1), hexBytes({0x8A + 85}));
}

TEST(ReadingFileFormat, linesEndAtCrOrCrLf_missingLinesAreEmpty_extraLinesIgnored) {
    const std::string name = "\x96\x97\x98", day = "\x8c", month = "\xa2\xb6\xc7\xb8\xbd";
    EXPECT_EQ(parseReadingFile(name + "\r\n" + day + "\r\n" + month + "\r\n"),
              (ReadingFileLines{"ABC", "7", "March", ""}));
    EXPECT_EQ(parseReadingFile(name + "\r" + day + "\r" + month + "\r\x86\r\x87\r\n\x88"),
              (ReadingFileLines{"ABC", "7", "March", "1"}));
    // A lone line feed does not end a line, and decoding drops it.
    EXPECT_EQ(parseReadingFile(name + "\n" + day), (ReadingFileLines{"ABC7", "", "", ""}));
    EXPECT_EQ(parseReadingFile(""), ReadingFileLines{});
}

TEST_F(ReadingFileTest, saveThenRead_roundTrip) {
    const fs::path path = folder / "ann.nrd";
    ASSERT_FALSE(WriteReadingFile(path, reading("ANN LEE", 29, "February", 1964)));
    const ReadingFileContents contents = ReadReadingFile(path);
    EXPECT_EQ(contents.status, ReadStatus::Read);
    EXPECT_EQ(contents.lines, (ReadingFileLines{"ANN LEE", "29", "February", "1964"}));
    // Nothing is left behind beside the saved file.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
}

TEST_F(ReadingFileTest, saveOverAnExistingFile_replacesItAndKeepsItsPermissions) {
    const fs::path path = folder / "old.nrd";
    writeBytes(path, std::string(200, 'x'));
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_FALSE(WriteReadingFile(path, reading("ABC", 7, "March", 1975)));
    EXPECT_EQ(contentsOf(path), formatReadingFile(reading("ABC", 7, "March", 1975)));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ReadingFileTest, saveThroughASymbolicLink_writesTheFileItPointsTo) {
    const fs::path target = folder / "target.nrd";
    const fs::path link = folder / "link.nrd";
    writeBytes(target, "old");
    fs::create_symlink(target, link);
    ASSERT_FALSE(WriteReadingFile(link, reading("ABC", 7, "March", 1975)));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadReadingFile(target).lines.name, "ABC");
}

TEST_F(ReadingFileTest, failedSaveReportsAnErrorAndLeavesTheOldFileAsItWas) {
    const fs::path path = folder / "keep.nrd";
    const std::string old = formatReadingFile(reading("OLD", 1, "May", 1950));
    writeBytes(path, old);

    // A file size limit stands in for a full disk; it holds for every user, root included.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit tiny = previous;
    tiny.rlim_cur = 8;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const std::error_code error =
        WriteReadingFile(path, reading("A LONGER NEW NAME", 2, "June", 1960));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(error);
    EXPECT_EQ(contentsOf(path), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1) << "temporary file left";
}

TEST_F(ReadingFileTest, saveIntoAMissingFolderOrOverAFolder_fails) {
    EXPECT_TRUE(WriteReadingFile(folder / "missing" / "a.nrd", reading("A", 1, "May", 1950)));
    fs::create_directory(folder / "dir.nrd");
    EXPECT_TRUE(WriteReadingFile(folder / "dir.nrd", reading("A", 1, "May", 1950)));
    EXPECT_TRUE(fs::is_directory(folder / "dir.nrd"));
}

TEST_F(ReadingFileTest, readOnlyFileOrFolder_isNotReplaced) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    const fs::path path = folder / "locked.nrd";
    writeBytes(path, "old");
    fs::permissions(path, fs::perms::owner_read);
    EXPECT_TRUE(WriteReadingFile(path, reading("A", 1, "May", 1950)));
    EXPECT_EQ(contentsOf(path), "old");

    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_TRUE(WriteReadingFile(folder / "new.nrd", reading("A", 1, "May", 1950)));
}

TEST_F(ReadingFileTest, readTellsUnreadableAndRefusedFilesFromReadOnes) {
    EXPECT_EQ(ReadReadingFile(folder / "missing.nrd").status, ReadStatus::Unreadable);
    EXPECT_EQ(ReadReadingFile(folder).status, ReadStatus::Unreadable);

    writeBytes(folder / "empty.nrd", "");
    EXPECT_EQ(ReadReadingFile(folder / "empty.nrd").status, ReadStatus::Read);

    writeBytes(folder / "nul.nrd", std::string("\x96\0\x97\r\n", 5));
    EXPECT_EQ(ReadReadingFile(folder / "nul.nrd").status, ReadStatus::Refused);

    writeBytes(folder / "full.nrd", std::string(kMaxReadingFileSize, '\x96'));
    const auto full = ReadReadingFile(folder / "full.nrd");
    EXPECT_EQ(full.status, ReadStatus::Read);
    EXPECT_EQ(full.lines.name.size(), kMaxReadingFileSize);

    writeBytes(folder / "large.nrd", std::string(kMaxReadingFileSize + 1, '\x96'));
    const auto large = ReadReadingFile(folder / "large.nrd");
    EXPECT_EQ(large.status, ReadStatus::Refused);
    EXPECT_EQ(large.lines, ReadingFileLines{});
}

} // namespace

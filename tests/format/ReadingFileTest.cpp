#include "format/ReadingFile.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

NodeReading reading(std::string name, int day, std::string month, int year) {
    return {std::move(name),
            static_cast<std::int16_t>(year),
            std::move(month),
            static_cast<std::int16_t>(day),
            {},
            {}};
}

std::string contentsOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class ReadingFileTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }

    std::size_t filesInFolder() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
    }

    const fs::path folder =
        fs::temp_directory_path() / ("nodalis-" + std::to_string(getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST(ReadingFileFormat, storesFourScrambledWindows1252LinesEndingInCrLf) {
    const unsigned char abc[] = {0x96, 0x97, 0x98, 0x0D, 0x0A, 0x8C, 0x0D, 0x0A, 0xA2, 0xB6, 0xC7,
                                 0xB8, 0xBD, 0x0D, 0x0A, 0x86, 0x8E, 0x8C, 0x8A, 0x0D, 0x0A};
    EXPECT_EQ(formatReadingFile(reading("ABC", 7, "March", 1975)), std::string(abc, abc + 21));
    EXPECT_TRUE(formatReadingFile(reading("", 1, "May", 1950)).starts_with("\r\n"));
    // S with a caron is byte 0x8A in Windows-1252; an e with an acute accent (0xE9) is too
    // high for the codec and is dropped.
    EXPECT_EQ(formatReadingFile(reading("\u0160\u00E9", 1, "May", 1950))[0], '\x8A' + 85);
    EXPECT_EQ(formatReadingFile(reading("\u0160\u00E9", 1, "May", 1950))[1], '\r');
}

TEST(ReadingFileFormat, linesEndAtCrOrCrLf_missingLinesAreEmpty_extraLinesIgnored) {
    const std::string abc = "\x96\x97\x98", seven = "\x8c", march = "\xa2\xb6\xc7\xb8\xbd";
    EXPECT_EQ(parseReadingFile(abc + "\r\n" + seven + "\r\n" + march + "\r\n"),
              (ReadingFileLines{"ABC", "7", "March", ""}));
    EXPECT_EQ(parseReadingFile(abc + "\r" + seven + "\r" + march + "\r\x86\r\x87\r\n\x88"),
              (ReadingFileLines{"ABC", "7", "March", "1"}));
    // A lone line feed does not end a line, and decoding drops it.
    EXPECT_EQ(parseReadingFile(abc + "\n" + seven), (ReadingFileLines{"ABC7", "", "", ""}));
}

TEST_F(ReadingFileTest, saveThenRead_roundTripsAndReplacesAnOldFileKeepingItsPermissions) {
    const fs::path path = folder / "ann.nrd";
    std::ofstream(path) << std::string(200, 'x');
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_FALSE(WriteReadingFile(path, reading("ANN LEE", 29, "February", 1964)));

    const ReadingFileContents contents = ReadReadingFile(path);
    EXPECT_EQ(contents.status, ReadStatus::Read);
    EXPECT_EQ(contents.lines, (ReadingFileLines{"ANN LEE", "29", "February", "1964"}));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(filesInFolder(), 1u) << "a temporary file was left behind";
}

TEST_F(ReadingFileTest, saveThroughASymbolicLink_writesTheFileItPointsTo) {
    std::ofstream(folder / "target.nrd") << "old";
    fs::create_symlink(folder / "target.nrd", folder / "link.nrd");
    ASSERT_FALSE(WriteReadingFile(folder / "link.nrd", reading("ABC", 7, "March", 1975)));
    EXPECT_TRUE(fs::is_symlink(folder / "link.nrd"));
    EXPECT_EQ(ReadReadingFile(folder / "target.nrd").lines.name, "ABC");
}

TEST_F(ReadingFileTest, failedSave_reportsAnErrorAndLeavesTheOldFileAsItWas) {
    const fs::path path = folder / "keep.nrd";
    const std::string old = formatReadingFile(reading("OLD", 1, "May", 1950));
    std::ofstream(path, std::ios::binary) << old;

    // A file size limit stands in for a full disk; it binds every user, root included.
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit tiny = previous;
    tiny.rlim_cur = 8;
    setrlimit(RLIMIT_FSIZE, &tiny);
    const std::error_code error = WriteReadingFile(path, reading("A NEW NAME", 2, "June", 1960));
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);

    EXPECT_TRUE(error);
    EXPECT_EQ(contentsOf(path), old);
    EXPECT_EQ(filesInFolder(), 1u) << "a temporary file was left behind";
    EXPECT_TRUE(WriteReadingFile(folder / "missing" / "a.nrd", reading("A", 1, "May", 1950)));
    fs::create_directory(folder / "dir.nrd");
    EXPECT_TRUE(WriteReadingFile(folder / "dir.nrd", reading("A", 1, "May", 1950)));
}

TEST_F(ReadingFileTest, readTellsUnreadableAndRefusedFilesFromReadOnes) {
    EXPECT_EQ(ReadReadingFile(folder / "missing.nrd").status, ReadStatus::Unreadable);
    EXPECT_EQ(ReadReadingFile(folder).status, ReadStatus::Unreadable);
    const auto statusOf = [this](const std::string& bytes) {
        std::ofstream(folder / "file.nrd", std::ios::binary) << bytes;
        return ReadReadingFile(folder / "file.nrd").status;
    };
    EXPECT_EQ(statusOf(""), ReadStatus::Read);
    EXPECT_EQ(statusOf(std::string(kMaxReadingFileSize, '\x96')), ReadStatus::Read);
    EXPECT_EQ(statusOf(std::string(kMaxReadingFileSize + 1, '\x96')), ReadStatus::Refused);
    EXPECT_EQ(statusOf(std::string("\x96\0\x97", 3)), ReadStatus::Refused);
}

// A process killed at any moment of saving over a file leaves the old file or the new
// one, whole; the two files differ in every line and in length, so a mix matches neither.
TEST_F(ReadingFileTest, killedWhileSavingOverAFile_leavesOneWholeFileNeverAMix) {
    const fs::path path = folder / "reading.nrd";
    const NodeReading readings[2] = {reading("ANN LEE", 29, "February", 1964),
                                     reading("MARY JANE WATSON", 31, "December", 2009)};
    const std::string files[2] = {formatReadingFile(readings[0]), formatReadingFile(readings[1])};

    // Kills land anywhere within the next few saves after the first one has finished.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_FALSE(WriteReadingFile(path, readings[0]));
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    std::mt19937 random{1964};
    std::uniform_int_distribution<long> delay{0, 4 * saveTime.count() + 1000};
    int seen[2] = {0, 0};
    for (int kill = 0; kill < 200; ++kill) {
        int saved[2];
        ASSERT_EQ(pipe(saved), 0);
        const pid_t saver = fork();
        ASSERT_GE(saver, 0);
        if (saver == 0) {
            for (int i = 1;; ++i) {
                if (WriteReadingFile(path, readings[i % 2]))
                    _exit(1);
                if (i == 1 && write(saved[1], "s", 1) != 1)
                    _exit(1);
            }
        }
        close(saved[1]);
        char byte = 0;
        ASSERT_EQ(read(saved[0], &byte, 1), 1) << "the saving process failed on its own";
        close(saved[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(saver, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(saver, &status, 0), saver);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process failed on its own";

        const std::string contents = contentsOf(path);
        ASSERT_TRUE(contents == files[0] || contents == files[1]) << "after kill " << kill;
        ++seen[contents == files[0] ? 0 : 1];
    }
    // Both outcomes occurred, so the kills fell across whole saves.
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
}

} // namespace

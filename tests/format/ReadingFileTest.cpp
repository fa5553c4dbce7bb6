#include "format/ReadingFile.h"

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <future>
#include <grp.h>
#include <gtest/gtest.h>
#include <iterator>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

NodeReading reading(std::string name, int day, std::string month, int year) {
    return {std::move(name), std::int16_t(year), std::move(month), std::int16_t(day), {}, {}};
}

std::string contentsOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Whether `work` succeeds in a process of its own, where it may change what binds it.
bool inChildProcess(const std::function<bool()>& work) {
    const pid_t child = fork();
    if (child == 0)
        _exit(work() ? 0 : 1);
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Who the cases that depend on permissions run as: the tests' own user, or nobody when the
// tests run as root, whom no permission would stop.
const passwd& unprivilegedUser() {
    static const passwd user = geteuid() == 0 ? *getpwnam("nobody") : *getpwuid(geteuid());
    return user;
}

class ReadingFileTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }

    std::size_t filesInFolder() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
    }
    static fs::path oldFile(const fs::path& path, fs::perms mode) {
        std::ofstream(path) << std::string(200, 'x');
        fs::permissions(path, mode);
        return path;
    }
    static void giveToUnprivilegedUser(const fs::path& path) {
        EXPECT_EQ(chown(path.c_str(), unprivilegedUser().pw_uid, unprivilegedUser().pw_gid), 0);
    }

    const fs::path folder =
        fs::temp_directory_path() / ("nodalis-" + std::to_string(getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST(ReadingFileFormat, storesFourScrambledLinesEndingInCrLf_readsLinesEndingAtCrOrCrLf) {
    const unsigned char bytes[] = {0x96, 0x97, 0x98, 0x0D, 0x0A, 0x8C, 0x0D, 0x0A, 0xA2, 0xB6, 0xC7,
                                   0xB8, 0xBD, 0x0D, 0x0A, 0x86, 0x8E, 0x8C, 0x8A, 0x0D, 0x0A};
    EXPECT_EQ(formatReadingFile(reading("ABC", 7, "March", 1975)), std::string(bytes, bytes + 21));
    // S with a caron is byte 0x8A in Windows-1252, encoded as 0xDF; an e with an acute accent
    // (0xE9) is too high for the codec and is dropped.
    EXPECT_TRUE(formatReadingFile(reading("\u0160\u00E9", 1, "May", 1950)).starts_with("\xDF\r"));

    // Lines end at CR or CR LF; missing lines are empty, and extra lines ignored.
    const std::string abc = "\x96\x97\x98", seven = "\x8c", march = "\xa2\xb6\xc7\xb8\xbd";
    EXPECT_EQ(parseReadingFile(abc + "\r\n" + seven + "\r\n" + march + "\r\n"),
              (ReadingFileLines{"ABC", "7", "March", ""}));
    EXPECT_EQ(parseReadingFile(abc + "\r" + seven + "\r" + march + "\r\x86\r\x87\r\n\x88"),
              (ReadingFileLines{"ABC", "7", "March", "1"}));
    // A lone line feed does not end a line, and decoding drops it.
    EXPECT_EQ(parseReadingFile(abc + "\n" + seven), (ReadingFileLines{"ABC7", "", "", ""}));
}

// A new file takes the old one's place whole, unless it cannot stand in for it: then the old
// file is written in place, and its links, owner and mode stay as they were.
TEST_F(ReadingFileTest, everyFileTheUserMayWriteSaves_keepingItsLinksOwnerAndMode) {
    using enum fs::perms;
    const NodeReading ann = reading("ANN LEE", 29, "February", 1964);
    const std::string annFile = formatReadingFile(ann);
    const fs::path replaced = oldFile(folder / "ann.nrd", owner_read | owner_write | group_read);
    ASSERT_FALSE(writeReadingFile(replaced, ann));
    EXPECT_EQ(contentsOf(replaced), annFile);
    EXPECT_EQ(fs::status(replaced).permissions(), owner_read | owner_write | group_read);
    // The longest name the folder takes, with no room to spare for a longer temporary one.
    EXPECT_FALSE(writeReadingFile(folder / (std::string(251, 'n') + ".nrd"), ann));

    fs::create_hard_link(replaced, folder / "link.nrd");
    ASSERT_FALSE(writeReadingFile(folder / "link.nrd", reading("LINKED", 1, "May", 1950)));
    EXPECT_EQ(readReadingFile(replaced).lines.name, "LINKED");

    fs::create_symlink(replaced, folder / "symlink.nrd");
    fs::create_symlink(folder / "elsewhere.nrd", folder / "dangling.nrd");
    EXPECT_FALSE(writeReadingFile(folder / "symlink.nrd", ann));
    EXPECT_FALSE(writeReadingFile(folder / "dangling.nrd", ann));
    EXPECT_TRUE(fs::is_symlink(folder / "symlink.nrd"));
    EXPECT_EQ(contentsOf(replaced), annFile);
    EXPECT_FALSE(fs::is_symlink(folder / "dangling.nrd")) << "followed to make a file elsewhere";
    EXPECT_EQ(filesInFolder(), 5u) << "a temporary file was left behind";

    // A file that may be written but not read, and one in a folder that takes no new files.
    const fs::path writeOnly = oldFile(folder / "write-only.nrd", owner_write);
    fs::create_directory(folder / "locked");
    const fs::path locked = oldFile(folder / "locked" / "in-place.nrd", owner_read | owner_write);
    for (const fs::path& path : {folder, writeOnly, locked})
        giveToUnprivilegedUser(path);
    fs::permissions(folder / "locked", owner_read | owner_exec | others_read | others_exec);
    EXPECT_TRUE(inChildProcess([&] {
        const passwd& user = unprivilegedUser();
        return (geteuid() != 0 || (setgroups(0, nullptr) == 0 && setgid(user.pw_gid) == 0 &&
                                   setuid(user.pw_uid) == 0)) &&
               !writeReadingFile(writeOnly, ann) && !writeReadingFile(locked, ann);
    }));
    EXPECT_EQ(fs::file_size(writeOnly), annFile.size());
    EXPECT_EQ(fs::status(writeOnly).permissions(), owner_write);
    EXPECT_EQ(contentsOf(locked), annFile);
    fs::permissions(folder / "locked", owner_all);

    if (geteuid() != 0)
        GTEST_SKIP() << "saving over another user's file needs root";
    const fs::path theirs = oldFile(folder / "theirs.nrd", owner_read | owner_write);
    giveToUnprivilegedUser(theirs);
    ASSERT_FALSE(writeReadingFile(theirs, ann));
    EXPECT_EQ(contentsOf(theirs), annFile);
    struct stat status {};
    EXPECT_EQ(stat(theirs.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, unprivilegedUser().pw_uid) << "root took the file over";
}

TEST_F(ReadingFileTest, failedSave_reportsAnErrorAndLeavesTheOldFileAsItWas) {
    const fs::path path =
        oldFile(folder / "keep.nrd", fs::perms::owner_read | fs::perms::owner_write);
    // A file size limit stands in for a full disk; it binds every user, root included.
    EXPECT_TRUE(inChildProcess([&path] {
        const rlimit tiny{8, 8};
        return std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && setrlimit(RLIMIT_FSIZE, &tiny) == 0 &&
               writeReadingFile(path, reading("A NEW NAME", 2, "June", 1960));
    }));
    EXPECT_EQ(contentsOf(path), std::string(200, 'x'));
    EXPECT_EQ(filesInFolder(), 1u) << "a temporary file was left behind";
    fs::create_directory(folder / "dir.nrd");
    EXPECT_TRUE(writeReadingFile(folder / "dir.nrd", reading("A", 1, "May", 1950)));
    // Saved, it would be refused when opened again.
    EXPECT_EQ(writeReadingFile(folder / "long.nrd",
                               reading(std::string(kMaxReadingFileSize, 'A'), 1, "May", 1950)),
              std::errc::file_too_large);
}

TEST_F(ReadingFileTest, readTellsUnreadableAndRefusedFilesFromReadOnes) {
    EXPECT_EQ(readReadingFile(folder / "missing.nrd").status, ReadStatus::Unreadable);
    const auto statusOf = [this](const std::string& bytes) {
        std::ofstream(folder / "file.nrd", std::ios::binary) << bytes;
        return readReadingFile(folder / "file.nrd").status;
    };
    EXPECT_EQ(statusOf(std::string(kMaxReadingFileSize, '\x96')), ReadStatus::Read);
    EXPECT_EQ(statusOf(std::string(kMaxReadingFileSize + 1, '\x96')), ReadStatus::Refused);
}

// A named pipe swapped in for the file at any moment, even between a look at the path and
// its opening, is refused, never waited on. The file it takes turns with holds a NUL and is
// refused too; a read that waited on the pipe would go on once the pipe is opened for
// writing below, find it empty, and be the one read that succeeds.
TEST_F(ReadingFileTest, aNamedPipeSwappedInForTheFileIsRefusedNotWaitedOn) {
    const fs::path path = folder / "swapped.nrd", file = folder / "file", pipe = folder / "pipe";
    std::ofstream(file) << '\0';
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // With no writer, an open that blocks would wait for good: ten seconds tell it apart.
    auto direct = std::async(std::launch::async, [&] { return readReadingFile(pipe).status; });
    const bool waited = direct.wait_for(std::chrono::seconds(10)) != std::future_status::ready;
    if (waited)
        close(open(pipe.c_str(), O_WRONLY | O_NONBLOCK));
    EXPECT_FALSE(waited);
    EXPECT_EQ(direct.get(), ReadStatus::Unreadable);

    std::atomic<bool> swapping = true, readerRuns = true;
    int pipesRead = 0;
    std::thread reader([&] {
        while (swapping)
            pipesRead += readReadingFile(path).status == ReadStatus::Read;
        readerRuns = false;
    });
    for (int swap = 0; swap < 50000; ++swap) {
        fs::create_hard_link(swap % 2 ? file : pipe, folder / "next");
        fs::rename(folder / "next", path);
    }
    swapping = false;
    while (readerRuns)
        close(open(pipe.c_str(), O_WRONLY | O_NONBLOCK));
    reader.join();
    EXPECT_EQ(pipesRead, 0);
}

} // namespace

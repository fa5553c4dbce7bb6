#include "format/ReadingFile.h"

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <iterator>
#include <pwd.h>
#include <random>
#include <sched.h>
#include <sys/mount.h>
#include <sys/ptrace.h>
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

// The exit status of `work` run in a process of its own, where it may change what binds it.
int inChildProcess(const std::function<int()>& work) {
    const pid_t child = fork();
    if (child == 0)
        _exit(work());
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)
               ? WEXITSTATUS(status)
               : -1;
}

enum class Traced { Killed, Ended, NotTraced };

// Runs `work` in a process of its own that is killed on entering its `call`th system call.
Traced killedAtSystemCall(int call, const std::function<void()>& work) {
    const pid_t child = fork();
    EXPECT_GE(child, 0) << "fork";
    if (child < 0) // never kill(-1)
        return Traced::NotTraced;
    if (child == 0) {
        if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
            _exit(1);
        raise(SIGSTOP);
        work();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    // Each system call stops the process twice, on entering and on leaving it.
    for (int stop = 0; WIFSTOPPED(status); ++stop) {
        if (stop == 2 * call + 1) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return Traced::Killed;
        }
        ptrace(PTRACE_SYSCALL, child, nullptr, nullptr);
        waitpid(child, &status, 0);
    }
    EXPECT_TRUE(WIFEXITED(status)) << "the traced save ended with status " << status;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? Traced::Ended : Traced::NotTraced;
}

// Who the cases that depend on permissions run as: the tests' own user, or nobody when the
// tests run as root, whom no permission would stop.
const passwd& unprivilegedUser() {
    static const passwd user = geteuid() == 0 ? *getpwnam("nobody") : *getpwuid(geteuid());
    return user;
}

class ReadingFileTest : public ::testing::Test {
protected:
    // Journals of saves in place go to a state folder of the test's own.
    void SetUp() override {
        fs::create_directories(folder);
        setenv("XDG_STATE_HOME", state.c_str(), 1);
    }
    void TearDown() override {
        fs::remove_all(folder);
        fs::remove_all(state);
    }

    static fs::path oldFile(const fs::path& path, fs::perms mode = fs::perms(0644)) {
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
    const fs::path state = folder.string() + "-state";
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
    std::ofstream(folder / ".nodalis-settings"); // named like a temporary file, not drawn so
    ASSERT_FALSE(writeReadingFile(replaced, ann));
    EXPECT_EQ(contentsOf(replaced), annFile);
    EXPECT_EQ(fs::status(replaced).permissions(), owner_read | owner_write | group_read);
    // The longest name the folder takes, and a path as long as the system takes with a short
    // name: neither has room to spare for a longer temporary one.
    EXPECT_FALSE(writeReadingFile(folder / (std::string(251, 'n') + ".nrd"), ann));
    fs::path deep = folder / "deep";
    while (deep.native().size() < 4080 - 201)
        deep /= std::string(200, 'd');
    deep /= std::string(4080 - deep.native().size() - 1, 'd');
    fs::create_directories(deep);
    ASSERT_EQ((deep / "x.nrd").native().size(), 4086u);
    EXPECT_FALSE(writeReadingFile(deep / "x.nrd", ann));
    EXPECT_FALSE(writeReadingFile(deep / "x.nrd", ann));
    EXPECT_EQ(readReadingFile(deep / "x.nrd").lines.name, "ANN LEE");

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
    EXPECT_TRUE(fs::exists(folder / ".nodalis-settings")) << "swept away";
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 7) << "a temporary file was left";

    // A file that may be written but not read, and one in a folder that takes no new files.
    const fs::path writeOnly = oldFile(folder / "write-only.nrd", owner_write);
    fs::create_directory(folder / "locked");
    const fs::path locked = oldFile(folder / "locked" / "in-place.nrd", owner_read | owner_write);
    for (const fs::path& path : {folder, writeOnly, locked})
        giveToUnprivilegedUser(path);
    fs::permissions(folder / "locked", owner_read | owner_exec | others_read | others_exec);
    EXPECT_EQ(inChildProcess([&] {
                  const passwd& user = unprivilegedUser();
                  setenv("XDG_STATE_HOME", (folder / "state").c_str(), 1);
                  return (geteuid() != 0 ||
                          (setgroups(0, nullptr) == 0 && setgid(user.pw_gid) == 0 &&
                           setuid(user.pw_uid) == 0)) &&
                                 !writeReadingFile(writeOnly, ann) && !writeReadingFile(locked, ann)
                             ? 0
                             : 1;
              }),
              0);
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

    // In a sticky folder that everyone may write to, root follows its own links there but
    // not another user's, as the kernel's protection of such folders would have it.
    fs::create_directory(folder / "shared");
    fs::permissions(folder / "shared", all | sticky_bit);
    fs::create_symlink(theirs, folder / "shared" / "laid.nrd");
    fs::create_symlink(theirs, folder / "shared" / "own.nrd");
    ASSERT_EQ(lchown((folder / "shared" / "laid.nrd").c_str(), unprivilegedUser().pw_uid, 0), 0);
    EXPECT_EQ(writeReadingFile(folder / "shared" / "laid.nrd", reading("LAID", 1, "May", 1950)),
              std::errc::permission_denied);
    EXPECT_FALSE(writeReadingFile(folder / "shared" / "own.nrd", reading("OWN", 1, "May", 1950)));
    EXPECT_EQ(readReadingFile(theirs).lines.name, "OWN");
}

// A full disk and a file size limit are failures that leave the old file as it was, whether
// it is replaced or written in place (it has a second link), and leave nothing behind.
TEST_F(ReadingFileTest, failedSave_reportsAnErrorAndLeavesTheOldFileAsItWas) {
    const fs::path disk = folder / "disk";
    fs::create_directory(disk);
    const NodeReading large = reading(std::string(5000, 'N'), 2, "June", 1960);
    const auto failsAndKeepsTheOldFiles = [&] {
        const fs::path plain = oldFile(disk / "plain.nrd"), linked = oldFile(disk / "linked.nrd");
        fs::create_hard_link(linked, disk / "link.nrd");
        std::ofstream(disk / "filler") << std::string(16 * 1024, 'f');
        const bool failed = writeReadingFile(plain, large) && writeReadingFile(linked, large);
        const bool kept =
            contentsOf(plain) == std::string(200, 'x') && contentsOf(linked) == contentsOf(plain);
        const auto files = std::distance(fs::directory_iterator(disk), {});
        fs::remove(disk / "filler");
        return failed && kept && files == 4 ? 0 : 1;
    };
    // A small file system of the test's own, filled up, where it may mount one.
    constexpr int kCannotMount = 2;
    const int fullDisk = inChildProcess([&] {
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=16k") != 0)
            return kCannotMount;
        return failsAndKeepsTheOldFiles();
    });
    EXPECT_TRUE(fullDisk == 0 || fullDisk == kCannotMount) << "on a full disk";
    // A file size limit binds every user, root included; the program ignores SIGXFSZ.
    EXPECT_EQ(inChildProcess([&] {
                  const rlimit limit{2048, 2048};
                  return std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR &&
                                 setrlimit(RLIMIT_FSIZE, &limit) == 0
                             ? failsAndKeepsTheOldFiles()
                             : 1;
              }),
              0)
        << "past the file size limit";
    fs::create_directory(folder / "dir.nrd");
    EXPECT_TRUE(writeReadingFile(folder / "dir.nrd", reading("A", 1, "May", 1950)));
    // A file too large for the journal to keep is not written in place.
    std::ofstream(folder / "large") << std::string(kMaxSmallFileSize + 1, 'x');
    fs::create_hard_link(folder / "large", folder / "large-link");
    EXPECT_EQ(writeReadingFile(folder / "large", reading("A", 1, "May", 1950)),
              std::errc::file_too_large);
    EXPECT_EQ(fs::file_size(folder / "large"), kMaxSmallFileSize + 1);
    // Saved, it would be refused when opened again.
    EXPECT_EQ(writeReadingFile(folder / "long.nrd",
                               reading(std::string(kMaxReadingFileSize, 'A'), 1, "May", 1950)),
              std::errc::file_too_large);
    if (fullDisk == kCannotMount)
        GTEST_SKIP() << "no full disk: mounting a file system of the test's own needs root";
}

// Saves killed at each of their system calls in turn, and at random instants of saves one
// after another, in place (over a file with a second link) and by renaming: the next opening
// finds the whole old or the whole new file, and the next save in the folder leaves nothing
// behind. On a file system in memory, where there is one, the kills land in the writes
// rather than in waits for the disk.
TEST_F(ReadingFileTest, aSaveKilledAtAnyInstantLeavesTheOldOrTheNewFileWhole_andNoLitter) {
    const fs::path work = (fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : folder) /
                          ("nodalis-kills-" + std::to_string(getpid()));
    fs::create_directories(work / "state");
    setenv("XDG_STATE_HOME", (work / "state").c_str(), 1);
    const NodeReading readings[] = {reading("ANN", 1, "May", 1950),
                                    reading(std::string(6000, 'L'), 2, "June", 1960)};
    const std::string files[] = {formatReadingFile(readings[0]), formatReadingFile(readings[1])};
    const fs::path linked = work / "linked.nrd", plain = work / "plain.nrd";
    std::ofstream(linked) << files[0];
    std::ofstream(plain) << files[0];
    fs::create_hard_link(linked, work / "link.nrd");
    int kills = 0, torn = 0;
    const auto countTorn = [&] {
        for (const fs::path& path : {linked, plain}) {
            readReadingFile(path);
            const std::string now = contentsOf(path);
            torn += now != files[0] && now != files[1];
        }
        ++kills;
    };

    Traced traced = Traced::Killed;
    for (const fs::path& path : {linked, plain}) {
        for (int from = 0; from < 2; ++from) {
            for (int call = 0; traced == Traced::Killed; ++call) {
                std::ofstream(path) << files[from];
                traced = killedAtSystemCall(
                    call, [&] { (void)writeReadingFile(path, readings[1 - from]); });
                if (traced == Traced::Killed)
                    countTorn();
            }
            traced = traced == Traced::Ended ? Traced::Killed : traced;
        }
    }
    std::minstd_rand random(20);
    for (int kill = 0; kill < 200; ++kill) {
        const pid_t saver = fork();
        EXPECT_GE(saver, 0) << "fork";
        if (saver < 0) // never kill(-1)
            break;
        for (int save = 0; saver == 0; ++save) {
            (void)writeReadingFile(linked, readings[save % 2]);
            (void)writeReadingFile(plain, readings[save % 2]);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
        ::kill(saver, SIGKILL);
        waitpid(saver, nullptr, 0);
        countTorn();
    }
    EXPECT_EQ(torn, 0) << "files torn by " << kills << " kills";
    EXPECT_FALSE(writeReadingFile(plain, readings[0]));
    const auto left = std::distance(fs::directory_iterator(work), {});
    const bool journalsLeft = !fs::is_empty(work / "state" / "Nodalis");
    fs::remove_all(work);
    EXPECT_EQ(left, 4) << "temporary files were left behind";
    EXPECT_FALSE(journalsLeft);
    if (traced == Traced::NotTraced)
        GTEST_SKIP() << "killed at random instants only: the test may not trace a process";
}

// A named pipe swapped in for the file at any moment, even between a look at the path and
// its opening, is refused, never waited on. The file it takes turns with holds a NUL and is
// refused too; a read that waited on the pipe would go on once the pipe is opened for
// writing below, find it empty, and be the one read that succeeds.
TEST_F(ReadingFileTest, readTakesFilesUpToTheSizeBound_andNeverWaitsOnAPipe) {
    std::ofstream(folder / "full.nrd") << std::string(kMaxReadingFileSize, '\x96');
    EXPECT_EQ(readReadingFile(folder / "full.nrd").status, ReadStatus::Read);
    std::ofstream(folder / "full.nrd", std::ios::app) << '\x96';
    EXPECT_EQ(readReadingFile(folder / "full.nrd").status, ReadStatus::Refused);

    const fs::path path = folder / "swapped.nrd", file = folder / "file", pipe = folder / "pipe";
    std::ofstream(file) << '\0';
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
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

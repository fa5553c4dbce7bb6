#include "AlternatingReadings.h"
#include "format/ReadingFile.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <poll.h>
#include <random>
#include <regex>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string contentsOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The SaveLoop helper, saving over `path` until it is killed.
class SavingProcess {
public:
    explicit SavingProcess(const fs::path& path) {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0)
            return;
        readEnd = pipeEnds[0];
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        const std::string program = NODALIS_SAVE_LOOP;
        const std::string argument = path.string();
        char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(argument.c_str()),
                        nullptr};
        if (::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0)
            pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeEnds[1]);
    }
    ~SavingProcess() {
        if (pid > 0)
            killAndWait();
        if (readEnd >= 0)
            ::close(readEnd);
    }

    bool startedSaving() const {
        pollfd ready{readEnd, POLLIN, 0};
        char byte = 0;
        constexpr int tenSeconds = 10'000;
        return pid > 0 && ::poll(&ready, 1, tenSeconds) == 1 && ::read(readEnd, &byte, 1) == 1;
    }

    // True when the process was still saving, not ended some other way.
    bool killAndWait() {
        ::kill(pid, SIGKILL);
        int status = 0;
        const bool waited = ::waitpid(pid, &status, 0) == pid;
        pid = -1;
        return waited && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

private:
    pid_t pid = -1;
    int readEnd = -1;
};

struct TemporaryFolder {
    TemporaryFolder() { fs::create_directories(path); }
    ~TemporaryFolder() { fs::remove_all(path); }
    const fs::path path =
        fs::temp_directory_path() / ("nodalis-kill-test-" + std::to_string(::getpid()));
};

TEST(ReadingFileKill, killedWhileSavingOverAFile_leavesOneWholeFileNeverAMix) {
    const TemporaryFolder temporaryFolder;
    const fs::path& folder = temporaryFolder.path;
    const fs::path path = folder / "reading.nrd";
    const auto readings = alternatingReadings();
    const std::string files[2] = {formatReadingFile(readings[0]), formatReadingFile(readings[1])};
    ASSERT_FALSE(WriteReadingFile(path, readings[0]));

    // A fixed seed: the kills land at moments that vary from run to run, but every moment
    // must leave a whole file, so no outcome can fail a sound writer.
    std::mt19937 random{1964};
    std::uniform_int_distribution<useconds_t> delay{0, 1000};
    int seen[2] = {0, 0};
    constexpr int kills = 200;
    for (int i = 0; i < kills; ++i) {
        SavingProcess saver{path};
        ASSERT_TRUE(saver.startedSaving());
        ::usleep(delay(random));
        ASSERT_TRUE(saver.killAndWait()) << "the save loop ended before it was killed";
        const std::string contents = contentsOf(path);
        ASSERT_TRUE(contents == files[0] || contents == files[1])
            << "kill " << i << " left " << contents.size() << " bytes matching neither file";
        ++seen[contents == files[0] ? 0 : 1];
    }
    // Both outcomes occurred, so kills fell across whole saves, not at one point of them.
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);

    // A kill between writing the temporary file and renaming it leaves that file behind,
    // hidden and under a name that never ends in ".nrd".
    const std::regex temporaryName{R"(\.reading\.nrd\.[0-9]+\.part)"};
    int strays = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.path() == path)
            continue;
        EXPECT_TRUE(std::regex_match(entry.path().filename().string(), temporaryName))
            << entry.path();
        ++strays;
    }
    RecordProperty("killsLeavingTheFirstFile", seen[0]);
    RecordProperty("killsLeavingTheSecondFile", seen[1]);
    RecordProperty("temporaryFilesLeft", strays);
}

} // namespace

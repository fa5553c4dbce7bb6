#include "format/ReadingFile.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
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

// A process killed at any moment of saving over a file leaves the old file or the new
// one, whole; the two files differ in every line and in length, so a mix matches neither.
TEST(ReadingFileKill, killedWhileSavingOverAFile_leavesOneWholeFileNeverAMix) {
    const fs::path folder =
        fs::temp_directory_path() / ("nodalis-kill-" + std::to_string(getpid()));
    fs::create_directories(folder);
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

        std::ifstream in(path, std::ios::binary);
        const std::string contents{std::istreambuf_iterator<char>(in), {}};
        ASSERT_TRUE(contents == files[0] || contents == files[1]) << "after kill " << kill;
        ++seen[contents == files[0] ? 0 : 1];
    }
    // Both outcomes occurred, so the kills fell across whole saves.
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
    fs::remove_all(folder);
}

} // namespace

#include "tests/ui/exercise/WindowExercise.h"

#include <QtGlobal>
#include <gtest/gtest.h>
#include <iostream>
#include <random>

namespace {

// NODALIS_EXERCISE_SEED replays a run, NODALIS_EXERCISE_STEPS makes it longer and
// NODALIS_EXERCISE_TRACE prints every step as it is taken.
std::uint64_t exerciseSeed() {
    bool given = false;
    const qulonglong seed = qEnvironmentVariable("NODALIS_EXERCISE_SEED").toULongLong(&given);
    if (given)
        return seed;
    std::random_device device;
    return (std::uint64_t{device()} << 32) | device();
}

QtMessageHandler qtMessages = nullptr;

// The offscreen platform warns each time a fixed-size window is shown; thousands of
// those would bury whatever else is said.
void withoutOffscreenWarnings(QtMsgType type, const QMessageLogContext& context,
                              const QString& text) {
    if (!text.startsWith(QLatin1String("This plugin does not support")))
        qtMessages(type, context, text);
}

int exerciseSteps() {
    bool given = false;
    const int steps = qEnvironmentVariableIntValue("NODALIS_EXERCISE_STEPS", &given);
    return given && steps > 0 ? steps : 3000;
}

TEST(WindowExercise, thousandsOfRandomStepsKeepEveryWindowInOrder) {
    const std::uint64_t seed = exerciseSeed();
    const int steps = exerciseSteps();
    std::cout << "Window exercise: seed " << seed << ", " << steps
              << " steps (replay with NODALIS_EXERCISE_SEED=" << seed << ")" << std::endl;
    RecordProperty("seed", std::to_string(seed));

    qtMessages = qInstallMessageHandler(withoutOffscreenWarnings);
    WindowExercise exercise(seed);
    const std::optional<QString> failure = exercise.run(steps);
    qInstallMessageHandler(qtMessages);
    ASSERT_FALSE(failure) << failure->toStdString();

    const ExerciseTally& done = exercise.tally();
    std::cout << "Program starts " << done.programStarts << ", readings " << done.readingsShown
              << ", reports " << done.reportsShown << ", About windows " << done.aboutsShown
              << ", saves " << done.savesWritten << " written and " << done.savesRefused
              << " refused, opens " << done.opensShown << " shown and " << done.opensRefused
              << " refused, file dialogs cancelled " << done.dialogsCancelled << ", PDFs "
              << done.printedToPdf << ", pages " << done.pagesOpened << ", messages "
              << done.messages << ", update offers " << done.updateOffers << std::endl;
    // A run that never reached a window proves nothing about it.
    if (steps >= 3000) {
        EXPECT_GT(done.programStarts, 1);
        EXPECT_GT(done.readingsShown, 0);
        EXPECT_GT(done.reportsShown, 0);
        EXPECT_GT(done.aboutsShown, 0);
        EXPECT_GT(done.savesWritten, 0);
        EXPECT_GT(done.savesRefused, 0);
        EXPECT_GT(done.opensShown, 0);
        EXPECT_GT(done.opensRefused, 0);
        EXPECT_GT(done.printedToPdf, 0);
    }
}

} // namespace

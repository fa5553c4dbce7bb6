// Saves the two alternating readings over the file named by its argument, one after the
// other, until it is killed. After the first save it writes one byte to standard output,
// so that whoever kills it knows it is saving.
#include "AlternatingReadings.h"
#include "format/ReadingFile.h"

#include <cstddef>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const std::filesystem::path path = argv[1];
    const auto readings = alternatingReadings();
    for (std::size_t i = 0;; ++i) {
        if (WriteReadingFile(path, readings[i % 2]))
            return 1;
        if (i == 0 && ::write(STDOUT_FILENO, "s", 1) != 1)
            return 1;
    }
}

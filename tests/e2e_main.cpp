// Entry of the end-to-end tests: --stage=NAME picks the game-like directory
// (steambridge beside one build of the client library, or beside none).
#include <gtest/gtest.h>

#include <cstring>

#include "host_support/e2e_host.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    CaptureBridgeTrace();
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--stage=", 8) == 0) SetStage(argv[i] + 8);
    return RUN_ALL_TESTS();
}

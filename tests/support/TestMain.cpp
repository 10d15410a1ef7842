// Test programs run on one apartment-threaded UI thread, like the programs they test.
#include <gtest/gtest.h>

#include "mivo/ComSupport.h"

int main(int argc, char** argv) {
    mivo::ScopedCoInit com;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

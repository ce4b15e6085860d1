// The unit tests' entry point. Messages the decoder would show in a box go to
// standard error, so that no test waits for a user; tests that look at the
// messages install their own sink.
#include <gtest/gtest.h>

#include "platform/MessageBox.h"

int main(int argc, char** argv) {
    platform::SetMessageSink(platform::WriteMessageLine);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

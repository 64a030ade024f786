// Test entry: message boxes are scripted (never block) and recorded for the assertions.
#include <gtest/gtest.h>

#include "platform/message_box.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    scriptMessageBoxes(true);
    return RUN_ALL_TESTS();
}

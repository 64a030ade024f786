// Test entry: the shell answers the lower subsystems' requests, as in the reader; message boxes
// are scripted (never block) and recorded for the assertions.
#include <gtest/gtest.h>

#include "app/shell_requests.h"
#include "platform/message_box.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    installShellRequests();
    scriptMessageBoxes(true);
    return RUN_ALL_TESTS();
}

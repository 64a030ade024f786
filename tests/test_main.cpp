// Test entry: message boxes are scripted (never block) and recorded for the assertions; in the
// programs that link the shell, it answers the lower subsystems' requests, as in the reader.
#include <gtest/gtest.h>

#include "platform/message_box.h"
#if VW_TEST_SHELL
#include "app/shell_requests.h"
#endif

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
#if VW_TEST_SHELL
    installShellRequests();
#endif
    scriptMessageBoxes(true);
    return RUN_ALL_TESTS();
}

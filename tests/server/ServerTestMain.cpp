#include <QCoreApplication>

#include <gtest/gtest.h>

// Notifications from the server arrive through the event loop: the tests need an application.
int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

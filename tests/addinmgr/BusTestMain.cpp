#include <QCoreApplication>
#include <gtest/gtest.h>

// The bus tests serve incoming calls (their own event sinks), which needs an application.
int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "platform/win/Application.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

int made = 0;

QCoreApplication* MakeCounted(int& argc, char** argv)
{
    ++made;
    return new QCoreApplication(argc, argv);
}

// Installed as the program starts, the way the user-interface layer installs its maker.
const bool installed = (SetApplicationMaker(&MakeCounted), true);

}  // namespace

TEST(ApplicationObject, TheMakerInstalledAtStartUpMakesItOnceBeforeTheFirstTest)
{
    ASSERT_NE(QCoreApplication::instance(), nullptr);
    EXPECT_EQ(made, 1);
    QCoreApplication* application = QCoreApplication::instance();
    EnsureApplication();
    EXPECT_EQ(QCoreApplication::instance(), application);
    EXPECT_EQ(made, 1);
}

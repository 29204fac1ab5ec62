// The main of every test program: a Qt application on the offscreen platform with a pinned locale,
// then GoogleTest. Discovery runs the program too, so nothing here may depend on the caller's setup.
#include <QLocale>
#include <QStandardPaths>

#ifdef QUILLORY_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "C.UTF-8");
    std::setlocale(LC_ALL, "C.UTF-8");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // Test mode keeps every test out of the user's folders; the one test of the real folders runs
    // itself again, in a home of its own, without it.
    if (qEnvironmentVariableIsEmpty("QUILLORY_USER_FOLDERS"))
        QStandardPaths::setTestModeEnabled(true);

    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Test entry: a QApplication exists for every test program, so widget and timer tests can run
// offscreen next to plain ones.
#include <QApplication>
#include <gtest/gtest.h>

#include "foundations/FR_Utils.h"

namespace {

// A form made in a test opens the language file of the system's language for the rest of the
// process; every test starts with none open, as it does in a process of its own.
class LanguageFileReset : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override { CloseLanguageFile(); }
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new LanguageFileReset);
    return RUN_ALL_TESTS();
}

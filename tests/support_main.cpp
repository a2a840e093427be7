// Test entry: a QApplication exists for every test program, so widget and timer tests can run
// offscreen next to plain ones.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "foundations/FR_Utils.h"
#include "platform/AppPaths.h"
#include "platform/Registry.h"

namespace {

// A form made in a test opens the language file of the system's language for the rest of the
// process; every test starts with none open, as it does in a process of its own.
// Each test also starts with a settings store of its own that chooses the built-in Polish texts,
// so that what a form shows does not follow the language of the machine the tests run on; a
// fixture that needs other settings opens its own store in SetUp.
class LanguageFileReset : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        static QTemporaryDir dir;
        const QString file = dir.filePath("settings.ini");
        QFile::remove(file);
        platform::setAppRegistryFile(file);
        platform::appRegistry().writeString(kLanguageChoiceKey, kLanguageChoiceValue, QStringLiteral("PLK"));
    }
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

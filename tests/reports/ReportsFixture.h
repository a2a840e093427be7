#pragma once
// Reports and their dialogs in a program folder of their own: Polish system, no language file
// unless the test writes one.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "foundations/FR_Utils.h"
#include "foundations/LocaleTable.h"
#include "platform/AppPaths.h"

class ReportsFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    void SetUp() override {
        platform::setProgramDirectory(dir.path());
        platform::setAppRegistryFile(dir.filePath("settings.ini"));
        foundations::setSystemLocaleOverride(QLocale(QLocale::Polish, QLocale::Poland));
        CloseLanguageFile();
    }
    void TearDown() override {
        CloseLanguageFile();
        foundations::setSystemLocaleOverride(std::nullopt);
        platform::setProgramDirectory(QString());
        platform::setAppRegistryFile(QTemporaryDir().filePath("unused.ini"));
    }
    // The Polish system's language file in the program folder (UTF-8 with its byte-order mark).
    void WriteLanguageFile(const QByteArray& text) {
        QFile f(dir.filePath("Vkm30.PLK"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\xEF\xBB\xBF" + text);
    }
};

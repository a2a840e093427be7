#pragma once
// A program folder and a settings store of the test's own, a chosen system locale, and no
// language file open at the start and the end of each test.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "foundations/FR_Utils.h"
#include "foundations/LocaleTable.h"
#include "platform/AppPaths.h"
#include "platform/Registry.h"

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        platform::setProgramDirectory(dir.path());
        platform::setAppRegistryFile(dir.filePath("settings.ini"));
        setSystem(QLocale::Polish, QLocale::Poland);
        CloseLanguageFile();
    }
    void TearDown() override {
        CloseLanguageFile();
        foundations::setSystemLocaleOverride(std::nullopt);
        platform::setProgramDirectory(QString());
        platform::setAppRegistryFile(QTemporaryDir().filePath("unused.ini"));
    }
    void setSystem(QLocale::Language l, QLocale::Territory t) {
        foundations::setSystemLocaleOverride(QLocale(l, t));
    }
    void setChoice(const QString& abbrev) {
        platform::appRegistry().writeString(kLanguageChoiceKey, kLanguageChoiceValue, abbrev);
    }
    QString choice() {
        return platform::appRegistry().readString(kLanguageChoiceKey, kLanguageChoiceValue).value_or("<none>");
    }
    // Writes a language file in code page 1250 (the bytes as given).
    void writeFile(const QString& abbrev, const QByteArray& bytes) {
        QFile f(dir.filePath("Vkm30." + abbrev));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QString fileName() { return QFileInfo(CurrentLanguageFilePath()).fileName(); }

    QTemporaryDir dir;
};

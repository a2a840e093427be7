#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

#include "app/UDBMaszyny.h"
#include "app/UDataModule.h"
#include "platform/AppPaths.h"
#include "support/ReadOnlyPath.h"

namespace {

class MachineTableTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setProgramDirectory(dir.path()); }
    void TearDown() override { platform::setProgramDirectory(QString()); }
    bool addMachine(TMachineTable& t, const QString& name, double isoAcc) {
        if (!t.Insert()) return false;
        t.SetFieldValue("Machine_name", name);
        t.SetFieldValue("Iso_dok_p", isoAcc);
        t.SetFieldValue("Vdi_ps+u", isoAcc * 2);
        t.SetFieldValue("Bsi_ru-", -isoAcc);
        t.SetFieldValue("Notes", "uwagi " + name);
        return t.Post();
    }
    QTemporaryDir dir;
};

TEST_F(MachineTableTest, CreatedFilledBrowsedSearchedAndReopened) {
    const QString path = dir.filePath("machines.DB");
    {
        TMachineTable t;
        t.SetDatabaseName(dir.path());
        ASSERT_TRUE(t.Open()) << t.LastError().toStdString();
        EXPECT_TRUE(QFile::exists(path));
        EXPECT_EQ(t.RecordCount(), 0);
        EXPECT_EQ(t.RecNo(), -1);
        ASSERT_TRUE(addMachine(t, "Tokarka", 5.0));
        ASSERT_TRUE(addMachine(t, "Frezarka", 7.5));
        ASSERT_TRUE(addMachine(t, "Wiertarka", 2.25));
        EXPECT_EQ(t.Names(), (QStringList{"Frezarka", "Tokarka", "Wiertarka"}));
        EXPECT_EQ(t.Current()->Machine_name, "Wiertarka");  // the posted record stays current
        t.First();
        EXPECT_TRUE(t.Bof());
        t.Next();
        EXPECT_EQ(t.FieldValue("Machine_name").toString(), "Tokarka");
        t.Last();
        EXPECT_TRUE(t.Eof());
        t.Prior();
        EXPECT_EQ(t.RecNo(), 1);

        // Without Edit nothing changes; an edit is kept only by Post, dropped by Cancel.
        EXPECT_FALSE(t.SetFieldValue("Iso_dok_p", 99.0));
        ASSERT_TRUE(t.Edit());
        t.SetFieldValue("Iso_dok_p", 99.0);
        t.Cancel();
        EXPECT_EQ(t.FieldValue("Iso_dok_p").toDouble(), 5.0);
        ASSERT_TRUE(t.Edit());
        t.SetFieldValue("Iso_dok_p", 6.5);
        t.SetFieldValue("Machine_name", "Tokarka CNC z długą nazwą");
        ASSERT_TRUE(t.Post());
        EXPECT_EQ(t.Current()->Machine_name, "Tokarka CNC z długą ");  // 20 characters
        ASSERT_TRUE(t.Locate("Frezarka"));
        ASSERT_TRUE(t.Delete());
        EXPECT_FALSE(t.Locate("Frezarka"));
    }
    {
        TMachineTable t;
        t.SetDatabaseName(dir.path());
        ASSERT_TRUE(t.Open());
        EXPECT_EQ(t.Names(), (QStringList{"Tokarka CNC z długą ", "Wiertarka"}));
    }
    // The file holds the fields with their own names, "+" and "-" included.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "check");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        const QSqlRecord rec = db.record("machines");
        EXPECT_EQ(rec.count(), 44);
        EXPECT_GE(rec.indexOf("Vdi_ps+u"), 0);
        EXPECT_GE(rec.indexOf("Bsi_ru-"), 0);
        EXPECT_EQ(rec.fieldName(0), "Machine_name");
        db.close();
    }
    QSqlDatabase::removeDatabase("check");

    const auto w = LookupMachine(dir.path(), "Wiertarka");
    ASSERT_TRUE(w.has_value());
    EXPECT_EQ(w->value("Iso_dok_p"), 2.25);
    EXPECT_EQ(w->value("Vdi_ps+u"), 4.5);
    EXPECT_EQ(w->value("Bsi_ru-"), -2.25);
    EXPECT_EQ(w->value("JIS_LM"), 0.0);
    EXPECT_EQ(w->Limits.size(), 42);
    EXPECT_EQ(w->Notes, "uwagi Wiertarka");
    EXPECT_FALSE(LookupMachine(dir.path(), "wiertarka").has_value());  // exact name only
    EXPECT_FALSE(LookupMachine(dir.path(), "Nieznana").has_value());
    EXPECT_FALSE(LookupMachine(dir.path(), "").has_value());
    EXPECT_FALSE(LookupMachine(dir.filePath("nowhere"), "Wiertarka").has_value());

    // Through the data module: the open table answers, by the program folder otherwise.
    EXPECT_TRUE(LookupMachine("Wiertarka").has_value());
    TDataModule1 dm;
    EXPECT_EQ(DataModule1, &dm);
    dm.TableMachines->SetDatabaseName(dir.path());
    ASSERT_TRUE(dm.TableMachines->Open());
    EXPECT_EQ(LookupMachine("Wiertarka")->value("Iso_dok_p"), 2.25);
    EXPECT_FALSE(LookupMachine("Frezarka").has_value());

    // The limits for the results by standard: every field reaches its member; an unknown name
    // gives zeros.
    const evaluation::MachineLimits lim = MachineLimitsOf("Wiertarka");
    EXPECT_EQ(lim.Iso_dok_p, 2.25);
    EXPECT_EQ(lim.Vdi_ps_plus_u, 4.5);
    EXPECT_EQ(lim.Bsi_ru_minus, -2.25);
    const evaluation::MachineLimits none = MachineLimitsOf("Frezarka");
    EXPECT_EQ(none.Iso_dok_p, 0.0);
    EXPECT_EQ(none.Vdi_ps_plus_u, 0.0);
    QStringList evalNames;
    for (const auto& f : evaluation::MachineLimitFields()) evalNames << f.name;
    EXPECT_EQ(evalNames, MachineFloatFields);
}

TEST_F(MachineTableTest, NamesMustBeGivenAndUnique) {
    TMachineTable t;
    t.SetDatabaseName(dir.path());
    ASSERT_TRUE(t.Open());
    ASSERT_TRUE(addMachine(t, "A", 1));
    EXPECT_FALSE(addMachine(t, "A", 2));
    EXPECT_FALSE(t.LastError().isEmpty());
    EXPECT_EQ(t.state(), TMachineTable::Inserting);  // the edit goes on
    t.Cancel();
    EXPECT_FALSE(addMachine(t, "  ", 2));
    t.Cancel();
    EXPECT_EQ(t.Names(), QStringList{"A"});
    EXPECT_EQ(LookupMachine(dir.path(), "A")->value("Iso_dok_p"), 1.0);
}

TEST_F(MachineTableTest, DamagedFileIsReported) {
    const QString path = dir.filePath("machines.DB");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("This is a Paradox table, not a database at all.").repeated(40));
    }
    TMachineTable t;
    t.SetDatabaseName(dir.path());
    EXPECT_FALSE(t.Open());
    EXPECT_FALSE(t.Active());
    EXPECT_FALSE(t.LastError().isEmpty());
    EXPECT_TRUE(MachineTableErrorMessage(t.LastError()).startsWith("Nie można otworzyć tabeli maszyn \"machines.DB\"."));
    EXPECT_FALSE(LookupMachine(dir.path(), "A").has_value());
    // The browser still opens, with nothing to do.
    TFBDMaszyny form(&t);
    EXPECT_FALSE(form.NavigatorButton(TFBDMaszyny::nbInsert)->isEnabled());

    // A database whose table lacks fields is no machine table either.
    QFile::remove(path);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "partial");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("CREATE TABLE machines (\"Machine_name\" TEXT)");
        db.close();
    }
    QSqlDatabase::removeDatabase("partial");
    EXPECT_FALSE(t.Open());
    EXPECT_TRUE(t.LastError().contains("Notes"));
}

TEST_F(MachineTableTest, BrowserEditsOnlyAfterEditOrInsert) {
    TMachineTable t;
    t.SetDatabaseName(dir.path());
    ASSERT_TRUE(t.Open());
    ASSERT_TRUE(addMachine(t, "Tokarka", 5.0));
    ASSERT_TRUE(addMachine(t, "Frezarka", 7.5));
    t.First();
    TFBDMaszyny form(&t);
    QStringList messages;
    form.ShowMessage = [&](const QString& m) { messages << m; };
    form.Confirm = [](const QString&) { return true; };
    EXPECT_EQ(form.objectName(), "FBDMaszyny");
    EXPECT_EQ(form.windowTitle(), "Dopuszczalne błędy dla maszyn");
    auto* grid = form.findChild<QTableWidget*>("DBGrid1");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Maszyna");
    EXPECT_EQ(grid->rowCount(), 2);
    auto* pages = form.findChild<QTabWidget*>("PageControl1");
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->count(), 6);
    EXPECT_EQ(pages->tabText(pages->currentIndex()), "JIS");
    for (const char* n : {"DBMemo1", "DBNavigator1", "BitBtn1"}) EXPECT_NE(form.findChild<QWidget*>(n), nullptr) << n;
    EXPECT_EQ(form.NavigatorButton(TFBDMaszyny::nbPost)->toolTip(), "Zatwierdź");
    for (const QString& f : MachineFloatFields) EXPECT_NE(form.FieldEdit(f), nullptr) << f.toStdString();

    QLineEdit* iso = form.FieldEdit("Iso_dok_p");
    EXPECT_EQ(iso->text(), "7.5");
    EXPECT_TRUE(iso->isReadOnly());
    EXPECT_TRUE(form.findChild<QPlainTextEdit*>("DBMemo1")->isReadOnly());
    form.NavigatorClick(TFBDMaszyny::nbNext);
    EXPECT_EQ(iso->text(), "5");

    form.NavigatorClick(TFBDMaszyny::nbEdit);
    EXPECT_FALSE(iso->isReadOnly());
    EXPECT_FALSE(form.NavigatorButton(TFBDMaszyny::nbNext)->isEnabled());
    iso->setText("abc");
    form.NavigatorClick(TFBDMaszyny::nbPost);
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(t.state(), TMachineTable::Editing);
    iso->setText("4,75");
    form.NavigatorClick(TFBDMaszyny::nbPost);
    EXPECT_EQ(t.state(), TMachineTable::Browse);
    EXPECT_EQ(LookupMachine(dir.path(), "Tokarka")->value("Iso_dok_p"), 4.75);

    form.NavigatorClick(TFBDMaszyny::nbInsert);
    ASSERT_EQ(grid->rowCount(), 3);
    grid->item(2, 0)->setText("Szlifierka");
    form.FieldEdit("JIS_Rep")->setText("1.5");
    form.NavigatorClick(TFBDMaszyny::nbPost);
    EXPECT_EQ(t.Names(), (QStringList{"Frezarka", "Szlifierka", "Tokarka"}));
    EXPECT_EQ(LookupMachine(dir.path(), "Szlifierka")->value("JIS_Rep"), 1.5);

    form.NavigatorClick(TFBDMaszyny::nbFirst);
    form.NavigatorClick(TFBDMaszyny::nbDelete);
    EXPECT_EQ(t.Names(), (QStringList{"Szlifierka", "Tokarka"}));
    EXPECT_EQ(grid->rowCount(), 2);
}


TEST_F(MachineTableTest, ReadOnlyFileIsReadAndEditingIsOff) {
    {
        TMachineTable t;
        t.SetDatabaseName(dir.path());
        ASSERT_TRUE(t.Open());
        ASSERT_TRUE(addMachine(t, "Tokarka", 5.0));
        ASSERT_TRUE(addMachine(t, "Frezarka", 7.5));
        EXPECT_FALSE(t.ReadOnly());
    }
    testsupport::ReadOnlyPath lock(dir.filePath("machines.DB"));
    if (!lock.ok()) GTEST_SKIP() << "no way to make a read-only file here";

    TMachineTable t;
    t.SetDatabaseName(dir.path());
    ASSERT_TRUE(t.Open()) << t.LastError().toStdString();
    EXPECT_TRUE(t.ReadOnly());
    EXPECT_EQ(t.Names(), (QStringList{"Frezarka", "Tokarka"}));
    ASSERT_TRUE(t.Locate("Tokarka"));
    EXPECT_EQ(t.Current()->value("Iso_dok_p"), 5.0);
    EXPECT_EQ(LookupMachine(dir.path(), "Frezarka")->value("Iso_dok_p"), 7.5);
    // Editing is refused with the message, and the table stays browsable.
    for (bool (TMachineTable::*edit)() : {&TMachineTable::Edit, &TMachineTable::Insert, &TMachineTable::Delete}) {
        EXPECT_FALSE((t.*edit)());
        EXPECT_EQ(t.LastError(), MachineTableReadOnlyMessage());
        EXPECT_EQ(t.state(), TMachineTable::Browse);
    }

    // The browser says so and offers no editing.
    TFBDMaszyny browser(&t);
    auto* note = browser.findChild<QLabel*>("LabelTylkoDoOdczytu");
    ASSERT_NE(note, nullptr);
    EXPECT_FALSE(note->isHidden());
    EXPECT_EQ(note->text(), MachineTableReadOnlyMessage());
    for (auto b : {TFBDMaszyny::nbInsert, TFBDMaszyny::nbDelete, TFBDMaszyny::nbEdit, TFBDMaszyny::nbPost})
        EXPECT_FALSE(browser.NavigatorButton(b)->isEnabled()) << int(b);
    EXPECT_TRUE(browser.NavigatorButton(TFBDMaszyny::nbFirst)->isEnabled() ||
                browser.NavigatorButton(TFBDMaszyny::nbNext)->isEnabled());
}

}  // namespace

#pragma once
// The machine table "machines.DB": one record per machine with the permissible errors of its
// axes for each of the six standards. Kept as an SQLite database in the program folder.
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <vector>

#include "evaluation/ResultsByStandard.h"

inline constexpr const char* kMachineTableFile = "machines.DB";
inline constexpr int kMachineNameCapacity = 20;

// The float fields of a record, in the table's order.
extern const QStringList MachineFloatFields;
// Every field: "Machine_name", "Notes", then the float fields.
QStringList MachineFieldNames();

struct MachineRecord {
    QString Machine_name;
    QString Notes;
    QHash<QString, double> Limits;  // every float field; an empty one reads 0
    // A float field by name; 0 for a name that is no float field.
    double value(const QString& field) const { return Limits.value(field, 0.0); }
};

// The table with a current record, browsed and edited the way the browser's navigator does:
// a record changes only between Edit (or Insert) and Post.
class TMachineTable : public QObject {
    Q_OBJECT
public:
    enum State { Inactive, Browse, Editing, Inserting };

    explicit TMachineTable(QObject* parent = nullptr);
    ~TMachineTable() override;

    // Folder of the table file (the program folder).
    QString DatabaseName() const { return folder_; }
    void SetDatabaseName(const QString& folder) { folder_ = folder; }
    QString FilePath() const;

    // Opens the table, creating an empty one when the file is missing. False with
    // LastError() when the file is no machine table or cannot be opened.
    bool Open();
    void Close();
    bool Active() const { return state_ != Inactive; }
    // Opened for reading only (the file or its medium cannot be written): Edit, Insert and
    // Delete are refused with MachineTableReadOnlyMessage().
    bool ReadOnly() const { return readOnly_; }
    State state() const { return state_; }
    QString LastError() const { return error_; }

    int RecordCount() const { return int(records_.size()); }
    int RecNo() const { return current_; }  // 0-based; -1 when the table is empty
    bool Eof() const { return records_.empty() || current_ >= RecordCount() - 1; }
    bool Bof() const { return current_ <= 0; }
    void First();
    void Prior();
    void Next();
    void Last();
    void MoveTo(int index);
    // Makes the first record named Name current; false (and no move) when there is none.
    bool Locate(const QString& name);

    // The current record (the edit buffer while editing or inserting).
    const MachineRecord* Current() const;
    QVariant FieldValue(const QString& field) const;
    // Only while editing or inserting; false otherwise.
    bool SetFieldValue(const QString& field, const QVariant& value);

    bool Edit();
    bool Insert();
    // Stores the edit buffer. A name left empty or entered twice is refused with LastError()
    // and the edit goes on.
    bool Post();
    void Cancel();
    bool Delete();
    bool Refresh();

    // The stored record named Name (an edit in progress is not yet part of the table).
    std::optional<MachineRecord> Find(const QString& name) const;
    // Every name in table order.
    QStringList Names() const;

signals:
    // The current record, its contents or the state changed.
    void changed();

private:
    bool reload(const QString& keepName);
    bool fail(const QString& message);

    QString folder_;
    QString connection_;
    std::vector<MachineRecord> records_;
    MachineRecord buffer_;
    QString editedName_;  // the stored name of the record being edited
    int current_ = -1;
    State state_ = Inactive;
    bool readOnly_ = false;
    QString error_;
};

// The data module: the machine table, created at start-up before the main window.
class TDataModule1 : public QObject {
    Q_OBJECT
public:
    explicit TDataModule1(QObject* parent = nullptr);
    ~TDataModule1() override;
    TMachineTable* TableMachines;
};
extern TDataModule1* DataModule1;

// Said where a read-only machine table would be edited.
QString MachineTableReadOnlyMessage();

// The message shown when the machine table cannot be opened; the program goes on without it.
QString MachineTableErrorMessage(const QString& detail);

// The record named Name (exact match): from DataModule1's table when it is open, else read
// from the table file in the program folder. No record of that name gives nullopt (no
// limits), never another machine's.
std::optional<MachineRecord> LookupMachine(const QString& name);
// The same in the table file of Folder.
std::optional<MachineRecord> LookupMachine(const QString& folder, const QString& name);

// The limits of the machine named Name for the results by standard; a name not in the table
// gives no limits (all 0), never another machine's.
evaluation::MachineLimits MachineLimitsOf(const QString& name);
evaluation::MachineLimits MachineLimitsOf(const MachineRecord& record);

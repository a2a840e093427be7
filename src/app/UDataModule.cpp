#include "app/UDataModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <algorithm>
#include <cmath>
#include <unistd.h>

#include "foundations/FR_Utils.h"
#include "platform/AppPaths.h"

const QStringList MachineFloatFields = {
    "Ntba_dok_p", "Ntba_dok_t", "Ntba_dok_d", "Ntba_pow_p", "Ntba_pow_t", "Ntba_pow_d", "Ntba_lzs", "Ntba_lzm",
    "Iso_dok_p",  "Iso_dok_t",  "Iso_dok_d",  "Iso_pow_p",  "Iso_pow_t",  "Iso_pow_d",  "Iso_lzs",  "Iso_lzm",
    "Vdi_dok_p",  "Vdi_dok_t",  "Vdi_pa",     "Vdi_p",      "Vdi_pow_p",  "Vdi_pow_t",  "Vdi_ps",   "Vdi_ps+u",
    "Vdi_lzs",    "Vdi_lzm",    "Bsi_pow_p",  "Bsi_pow_t",  "Bsi_pow_d",  "Bsi_d",      "Bsi_ru+",  "Bsi_ru-",
    "Bsi_rb",     "Bsi_lzs",    "Bsi_lzm",    "Pn_mar",     "Pn_rpmax",   "Pn_nmax",    "JIS_Aca",  "JIS_ACR",
    "JIS_Rep",    "JIS_LM",
};

QStringList MachineFieldNames() { return QStringList{"Machine_name", "Notes"} + MachineFloatFields; }

namespace {

constexpr const char* kTable = "machines";

QString quoted(const QString& field) { return '"' + field + '"'; }

QString createStatement() {
    QStringList cols;
    cols << R"("Machine_name" VARCHAR(20) NOT NULL PRIMARY KEY)" << R"("Notes" TEXT)";
    for (const QString& f : MachineFloatFields) cols << quoted(f) + " REAL";
    return QString("CREATE TABLE IF NOT EXISTS %1 (%2)").arg(kTable, cols.join(", "));
}

MachineRecord recordFrom(const QSqlQuery& q) {
    MachineRecord r;
    r.Machine_name = q.value(0).toString();
    r.Notes = q.value(1).toString();
    for (int i = 0; i < MachineFloatFields.size(); ++i) {
        const QVariant v = q.value(2 + i);
        double d = v.isNull() ? 0.0 : v.toDouble();
        if (!std::isfinite(d)) d = 0.0;
        r.Limits.insert(MachineFloatFields[i], d);
    }
    return r;
}

QString selectStatement() {
    QStringList cols;
    for (const QString& f : MachineFieldNames()) cols << quoted(f);
    return QString("SELECT %1 FROM %2 ORDER BY \"Machine_name\"").arg(cols.join(", "), kTable);
}

// Checks that the open database holds the machine table with every field, creating the table
// in an empty database (not in one opened for reading only).
bool prepareTable(QSqlDatabase& db, QString& error, bool create) {
    QSqlQuery q(db);
    if (create && !q.exec(createStatement())) {
        error = q.lastError().text();
        return false;
    }
    const QSqlRecord rec = db.record(kTable);
    if (rec.isEmpty()) {
        error = TranslateString("stBrakTabeli", "Brak tabeli maszyn");
        return false;
    }
    for (const QString& f : MachineFieldNames())
        if (rec.indexOf(f) < 0) {
            error = TranslateString("stBrakPola", "Brak pola") + " \"" + f + "\"";
            return false;
        }
    return true;
}

// An SQLite connection of its own for one file, removed when it goes out of scope.
class Connection {
public:
    Connection() : name_("machines-" + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}
    ~Connection() {
        { QSqlDatabase db = QSqlDatabase::database(name_, false); if (db.isOpen()) db.close(); }
        QSqlDatabase::removeDatabase(name_);
    }
    const QString& name() const { return name_; }

private:
    QString name_;
};

bool openAs(QSqlDatabase& db, bool readOnly, QString& error) {
    db.close();
    db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY") : QString());
    if (!db.open()) {
        error = db.lastError().text();
        return false;
    }
    // A file that is no database fails here, on its first read.
    QSqlQuery probe(db);
    if (!probe.exec("PRAGMA schema_version")) {
        error = probe.lastError().text();
        return false;
    }
    return prepareTable(db, error, !readOnly);
}

// Opens the table file for editing, or, when it can only be read (a read-only file or medium),
// for reading: readOnly tells which.
bool openFile(const QString& connection, const QString& path, QString& error, bool& readOnly) {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection);
    db.setDatabaseName(path);
    const QByteArray native = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const bool exists = QFileInfo::exists(path);
    // SQLite opens a file it cannot write for reading without a word and then fails on the
    // first write; a file (or a folder for its journal) that cannot be written is read only.
    readOnly = exists && (::access(native.constData(), W_OK) != 0 || ::access(folder.constData(), W_OK) != 0);
    if (!readOnly && openAs(db, false, error)) return true;
    if (!exists) return false;
    QString readError;
    if (!openAs(db, true, readError)) {  // no table to read either: the first reason
        if (error.isEmpty()) error = readError;
        return false;
    }
    error.clear();
    readOnly = true;
    return true;
}

}  // namespace

TMachineTable::TMachineTable(QObject* parent) : QObject(parent) {}

TMachineTable::~TMachineTable() { Close(); }

QString TMachineTable::FilePath() const {
    return QDir(folder_.isEmpty() ? platform::programDirectory() : folder_).filePath(kMachineTableFile);
}

bool TMachineTable::fail(const QString& message) {
    error_ = message;
    return false;
}

bool TMachineTable::Open() {
    Close();
    error_.clear();
    connection_ = "machines-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString err;
    if (!openFile(connection_, FilePath(), err, readOnly_)) {
        { QSqlDatabase db = QSqlDatabase::database(connection_, false); if (db.isOpen()) db.close(); }
        QSqlDatabase::removeDatabase(connection_);
        connection_.clear();
        return fail(err);
    }
    state_ = Browse;
    reload(QString());
    return true;
}

void TMachineTable::Close() {
    if (!connection_.isEmpty()) {
        { QSqlDatabase db = QSqlDatabase::database(connection_, false); if (db.isOpen()) db.close(); }
        QSqlDatabase::removeDatabase(connection_);
        connection_.clear();
    }
    records_.clear();
    current_ = -1;
    if (state_ != Inactive) {
        state_ = Inactive;
        emit changed();
    }
}

bool TMachineTable::reload(const QString& keepName) {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    if (!q.exec(selectStatement())) return fail(q.lastError().text());
    const int old = current_;
    records_.clear();
    while (q.next()) records_.push_back(recordFrom(q));
    current_ = records_.empty() ? -1 : std::clamp(old < 0 ? 0 : old, 0, RecordCount() - 1);
    if (!keepName.isEmpty())
        for (int i = 0; i < RecordCount(); ++i)
            if (records_[size_t(i)].Machine_name == keepName) current_ = i;
    emit changed();
    return true;
}

void TMachineTable::MoveTo(int index) {
    if (state_ != Browse || records_.empty()) return;
    const int i = std::clamp(index, 0, RecordCount() - 1);
    if (i == current_) return;
    current_ = i;
    emit changed();
}
void TMachineTable::First() { MoveTo(0); }
void TMachineTable::Prior() { MoveTo(current_ - 1); }
void TMachineTable::Next() { MoveTo(current_ + 1); }
void TMachineTable::Last() { MoveTo(RecordCount() - 1); }

bool TMachineTable::Locate(const QString& name) {
    for (int i = 0; i < RecordCount(); ++i)
        if (records_[size_t(i)].Machine_name == name) {
            if (state_ == Browse) MoveTo(i);
            return true;
        }
    return false;
}

const MachineRecord* TMachineTable::Current() const {
    if (state_ == Editing || state_ == Inserting) return &buffer_;
    if (current_ < 0 || current_ >= RecordCount()) return nullptr;
    return &records_[size_t(current_)];
}

QVariant TMachineTable::FieldValue(const QString& field) const {
    const MachineRecord* r = Current();
    if (!r) return {};
    if (field == "Machine_name") return r->Machine_name;
    if (field == "Notes") return r->Notes;
    if (MachineFloatFields.contains(field)) return r->value(field);
    return {};
}

bool TMachineTable::SetFieldValue(const QString& field, const QVariant& value) {
    if (state_ != Editing && state_ != Inserting) return false;
    if (field == "Machine_name")
        buffer_.Machine_name = value.toString().left(kMachineNameCapacity);
    else if (field == "Notes")
        buffer_.Notes = value.toString();
    else if (MachineFloatFields.contains(field)) {
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok || !std::isfinite(d)) return false;
        buffer_.Limits[field] = d;
    } else
        return false;
    return true;
}

QString MachineTableReadOnlyMessage() {
    return TranslateString("stBazaTylkoDoOdczytu",
                           "Tabela maszyn \"machines.DB\" jest tylko do odczytu: edycja jest wyłączona.");
}

bool TMachineTable::Edit() {
    if (readOnly_ && state_ == Browse) return fail(MachineTableReadOnlyMessage());
    if (state_ == Editing || state_ == Inserting) return true;
    if (state_ != Browse || current_ < 0) return false;
    buffer_ = records_[size_t(current_)];
    editedName_ = buffer_.Machine_name;
    state_ = Editing;
    emit changed();
    return true;
}

bool TMachineTable::Insert() {
    if (readOnly_) return fail(MachineTableReadOnlyMessage());
    if (state_ == Editing || state_ == Inserting) return false;
    if (state_ != Browse) return false;
    buffer_ = MachineRecord();
    for (const QString& f : MachineFloatFields) buffer_.Limits.insert(f, 0.0);
    editedName_.clear();
    state_ = Inserting;
    emit changed();
    return true;
}

bool TMachineTable::Post() {
    if (state_ != Editing && state_ != Inserting) return state_ == Browse;
    const QString name = buffer_.Machine_name.trimmed().isEmpty() ? QString() : buffer_.Machine_name;
    if (name.isEmpty()) return fail(TranslateString("stBrakNazwyMaszyny", "Pole \"Machine_name\" musi mieć wartość."));
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    QStringList cols, marks;
    for (const QString& f : MachineFieldNames()) {
        cols << quoted(f);
        marks << "?";
    }
    if (state_ == Inserting) {
        q.prepare(QString("INSERT INTO %1 (%2) VALUES (%3)").arg(kTable, cols.join(", "), marks.join(", ")));
    } else {
        QStringList sets;
        for (const QString& c : cols) sets << c + " = ?";
        q.prepare(QString("UPDATE %1 SET %2 WHERE \"Machine_name\" = ?").arg(kTable, sets.join(", ")));
    }
    q.addBindValue(name);
    q.addBindValue(buffer_.Notes);
    for (const QString& f : MachineFloatFields) q.addBindValue(buffer_.value(f));
    if (state_ == Editing) q.addBindValue(editedName_);
    if (!q.exec()) {
        const QString e = q.lastError().text();
        return fail(e.contains("UNIQUE", Qt::CaseInsensitive)
                        ? TranslateString("stNazwaMaszynyIstnieje", "Maszyna o tej nazwie już istnieje.") + "\n" + e
                        : e);
    }
    state_ = Browse;
    error_.clear();
    return reload(name);
}

void TMachineTable::Cancel() {
    if (state_ != Editing && state_ != Inserting) return;
    state_ = Browse;
    emit changed();
}

bool TMachineTable::Delete() {
    if (state_ == Inserting) {
        Cancel();
        return true;
    }
    if ((state_ != Browse && state_ != Editing) || current_ < 0) return false;
    if (readOnly_) return fail(MachineTableReadOnlyMessage());
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    q.prepare(QString("DELETE FROM %1 WHERE \"Machine_name\" = ?").arg(kTable));
    q.addBindValue(records_[size_t(current_)].Machine_name);
    if (!q.exec()) return fail(q.lastError().text());
    state_ = Browse;
    return reload(QString());
}

bool TMachineTable::Refresh() {
    if (state_ != Browse) return false;
    const MachineRecord* r = Current();
    return reload(r ? r->Machine_name : QString());
}

std::optional<MachineRecord> TMachineTable::Find(const QString& name) const {
    for (const MachineRecord& r : records_)
        if (r.Machine_name == name) return r;
    return std::nullopt;
}

QStringList TMachineTable::Names() const {
    QStringList names;
    for (const MachineRecord& r : records_) names << r.Machine_name;
    return names;
}

TDataModule1* DataModule1 = nullptr;

TDataModule1::TDataModule1(QObject* parent) : QObject(parent), TableMachines(new TMachineTable(this)) {
    setObjectName("DataModule1");
    TableMachines->setObjectName("TableMachines");
    if (!DataModule1) DataModule1 = this;
}

TDataModule1::~TDataModule1() {
    if (DataModule1 == this) DataModule1 = nullptr;
}

QString MachineTableErrorMessage(const QString& detail) {
    QString text = TranslateString("stBladBazyMaszyn", "Nie można otworzyć tabeli maszyn \"machines.DB\".");
    if (!detail.isEmpty()) text += "\n" + detail;
    return text;
}

std::optional<MachineRecord> LookupMachine(const QString& folder, const QString& name) {
    const QString path = QDir(folder).filePath(kMachineTableFile);
    if (!QFile::exists(path)) return std::nullopt;
    Connection c;
    QString err;
    bool readOnly = false;
    if (!openFile(c.name(), path, err, readOnly)) return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(c.name(), false));
    QStringList cols;
    for (const QString& f : MachineFieldNames()) cols << quoted(f);
    q.prepare(QString("SELECT %1 FROM %2 WHERE \"Machine_name\" = ?").arg(cols.join(", "), kTable));
    q.addBindValue(name);
    if (!q.exec() || !q.next()) return std::nullopt;
    return recordFrom(q);
}

std::optional<MachineRecord> LookupMachine(const QString& name) {
    if (DataModule1 && DataModule1->TableMachines->Active()) return DataModule1->TableMachines->Find(name);
    return LookupMachine(platform::programDirectory(), name);
}

evaluation::MachineLimits MachineLimitsOf(const MachineRecord& record) {
    evaluation::MachineLimits limits;
    for (const auto& f : evaluation::MachineLimitFields()) limits.*f.member = record.value(QString::fromLatin1(f.name));
    return limits;
}

evaluation::MachineLimits MachineLimitsOf(const QString& name) {
    const auto r = LookupMachine(name);
    return r ? MachineLimitsOf(*r) : evaluation::MachineLimits();
}

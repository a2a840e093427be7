#include "app/UDBMaszyny.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/UDataModule.h"
#include "foundations/ProgramMessages.h"

namespace {

struct FieldDef {
    const char* caption;
    const char* field;
};
struct GroupDef {
    const char* caption;
    std::vector<FieldDef> fields;
};
struct PageDef {
    const char* caption;
    std::vector<GroupDef> groups;
};

const std::vector<PageDef>& pages() {
    static const std::vector<PageDef> p = {
        {"NMTBA",
         {{"Dokładność", {{"W przód", "Ntba_dok_p"}, {"W tył", "Ntba_dok_t"}, {"Dwukierunkowa", "Ntba_dok_d"}}},
          {"Powtarzalność", {{"W przód", "Ntba_pow_p"}, {"W tył", "Ntba_pow_t"}, {"Dwukierunkowa", "Ntba_pow_d"}}},
          {"Luz zwrotny", {{"Średni", "Ntba_lzs"}, {"Maksymalny", "Ntba_lzm"}}}}},
        {"ISO",
         {{"Dokładność", {{"W przód", "Iso_dok_p"}, {"W tył", "Iso_dok_t"}, {"Dwukierunkowa", "Iso_dok_d"}}},
          {"Powtarzalność", {{"W przód", "Iso_pow_p"}, {"W tył", "Iso_pow_t"}, {"Dwukierunkowa", "Iso_pow_d"}}},
          {"Błąd powrotu", {{"Średni", "Iso_lzs"}, {"Maksymalny", "Iso_lzm"}}}}},
        {"VDI",
         {{"Dokładność", {{"W przód", "Vdi_dok_p"}, {"W tył", "Vdi_dok_t"}, {"Pa", "Vdi_pa"}, {"P", "Vdi_p"}}},
          {"Powtarzalność", {{"W przód", "Vdi_pow_p"}, {"W tył", "Vdi_pow_t"}, {"Ps", "Vdi_ps"}, {"Ps+U", "Vdi_ps+u"}}},
          {"Błąd powrotu", {{"Średni", "Vdi_lzs"}, {"Maksymalny", "Vdi_lzm"}}}}},
        {"BSI",
         {{"Dokładność", {{"W przód", "Bsi_pow_p"}, {"W tył", "Bsi_pow_t"}, {"Całkowita", "Bsi_pow_d"}, {"D", "Bsi_d"}}},
          {"Powtarzalność", {{"RU+", "Bsi_ru+"}, {"RU-", "Bsi_ru-"}, {"RB", "Bsi_rb"}}},
          {"Błąd powrotu", {{"Średni", "Bsi_lzs"}, {"Maksymalny", "Bsi_lzm"}}}}},
        {"PN",
         {{"Dokładność", {{"Mar", "Pn_mar"}}},
          {"Powtarzalność", {{"RPmax", "Pn_rpmax"}}},
          {"Luz zwrotny", {{"Pmax", "Pn_nmax"}}}}},
        {"JIS",
         {{"Dokładność", {{"W przód", "JIS_Aca"}, {"W tył", "JIS_ACR"}}},
          {"Powtarzalność", {{"Maksymalna", "JIS_Rep"}}},
          {"Luz zwrotny", {{"Maksymalny", "JIS_LM"}}}}},
    };
    return p;
}

// Object names may not hold "+" or "-" in a language file section; they are spelled out.
QString editName(const QString& field) {
    QString n = field;
    n.replace('+', "Plus").replace('-', "Minus");
    return "DBEdit_" + n;
}

QString numberText(double v) { return QString::number(v, 'g', 15); }

const char* const kNavHints[10] = {"Pierwszy rekord", "Poprzedni", "Następny", "Ostatni rekord", "Dodaj",
                                   "Skasuj",          "Edytuj",    "Zatwierdź", "Odrzuć",        "Odśwież"};
const char* const kNavNames[10] = {"nbFirst", "nbPrior", "nbNext", "nbLast", "nbInsert",
                                   "nbDelete", "nbEdit", "nbPost", "nbCancel", "nbRefresh"};
const char* const kNavGlyphs[10] = {"|◀", "◀", "▶", "▶|", "+", "−", "▲", "✓", "✗", "↻"};

}  // namespace

TFBDMaszyny::TFBDMaszyny(TMachineTable* table, QWidget* parent)
    : TSSForm(parent), table_(table ? table : (DataModule1 ? DataModule1->TableMachines : nullptr)) {
    setObjectName("FBDMaszyny");
    setWindowTitle("Dopuszczalne błędy dla maszyn");
    ShowMessage = [this](const QString& t) { QMessageBox::warning(this, windowTitle(), t); };
    Confirm = [this](const QString& t) {
        return QMessageBox::question(this, windowTitle(), t, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };

    auto* main = new QVBoxLayout(this);
    auto* nav = new QWidget(this);
    nav->setObjectName("DBNavigator1");
    auto* navLayout = new QHBoxLayout(nav);
    navLayout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 10; ++i) {
        auto* b = new QToolButton(nav);
        b->setObjectName(kNavNames[i]);
        b->setText(QString::fromUtf8(kNavGlyphs[i]));
        b->setToolTip(QString::fromUtf8(kNavHints[i]));
        navLayout->addWidget(b);
        navButtons_[i] = b;
        connect(b, &QToolButton::clicked, this, [this, i] { NavigatorClick(NavButton(i)); });
    }
    navLayout->addStretch();
    main->addWidget(nav);

    auto* body = new QHBoxLayout;
    DBGrid1 = new QTableWidget(0, 1, this);
    DBGrid1->setObjectName("DBGrid1");
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->verticalHeader()->hide();
    auto* title = new QTableWidgetItem("Nazwa maszyny");
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    DBGrid1->setHorizontalHeaderItem(0, title);
    body->addWidget(DBGrid1, 1);

    auto* right = new QVBoxLayout;
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    int groupNo = 0;
    for (const PageDef& p : pages()) {
        auto* page = new QWidget(PageControl1);
        page->setObjectName(QString("TabSheet%1").arg(p.caption));
        auto* pl = new QVBoxLayout(page);
        for (const GroupDef& g : p.groups) {
            auto* box = new QGroupBox(QString::fromUtf8(g.caption), page);
            box->setObjectName(QString("GroupBox%1").arg(++groupNo));
            auto* gl = new QGridLayout(box);
            int row = 0;
            for (const FieldDef& f : g.fields) {
                auto* l = new QLabel(QString::fromUtf8(f.caption), box);
                const QString field = QString::fromLatin1(f.field);
                auto* e = new QLineEdit(box);
                e->setObjectName(editName(field));
                l->setObjectName("Label" + e->objectName().mid(6));
                l->setBuddy(e);
                gl->addWidget(l, row, 0);
                gl->addWidget(e, row, 1);
                ++row;
                edits_.insert(field, e);
            }
            pl->addWidget(box);
        }
        pl->addStretch();
        PageControl1->addTab(page, QString::fromLatin1(p.caption));
    }
    PageControl1->setCurrentIndex(int(pages().size()) - 1);  // JIS first
    right->addWidget(PageControl1);
    auto* notesLabel = new QLabel("Notatki", this);
    notesLabel->setObjectName("LabelNotatki");
    right->addWidget(notesLabel);
    DBMemo1 = new QPlainTextEdit(this);
    DBMemo1->setObjectName("DBMemo1");
    right->addWidget(DBMemo1);
    body->addLayout(right, 2);
    main->addLayout(body);

    BitBtn1 = new QPushButton("&Zamknij", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setAutoDefault(false);
    auto* bottom = new QHBoxLayout;
    // A table that can only be read says so here; its navigator offers no editing.
    LabelTylkoDoOdczytu = new QLabel(this);
    LabelTylkoDoOdczytu->setObjectName("LabelTylkoDoOdczytu");
    LabelTylkoDoOdczytu->setWordWrap(true);
    LabelTylkoDoOdczytu->hide();
    bottom->addWidget(LabelTylkoDoOdczytu, 1);
    bottom->addStretch();
    bottom->addWidget(BitBtn1);
    main->addLayout(bottom);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    connect(DBGrid1, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
        if (!updating_ && table_ && !editing() && row >= 0) table_->MoveTo(row);
    });
    if (table_) connect(table_, &TMachineTable::changed, this, &TFBDMaszyny::showRecord);

    FormCreate();
    showRecord();
    FinishCreate();
}

void TFBDMaszyny::ShowStandardPage(int standard) {
    if (PageControl1 && standard >= 0 && standard < PageControl1->count()) PageControl1->setCurrentIndex(standard);
}

void TFBDMaszyny::FormCreate() { DBGrid1->horizontalHeaderItem(0)->setText(Msg("stMaszyna")); }

bool TFBDMaszyny::editing() const {
    return table_ && (table_->state() == TMachineTable::Editing || table_->state() == TMachineTable::Inserting);
}

void TFBDMaszyny::showRecord() {
    updating_ = true;
    const bool active = table_ && table_->Active();
    const bool ed = editing();
    const bool inserting = active && table_->state() == TMachineTable::Inserting;
    QStringList names = active ? table_->Names() : QStringList();
    int currentRow = active ? table_->RecNo() : -1;
    if (inserting) {
        names << QString();
        currentRow = int(names.size()) - 1;
    }
    DBGrid1->setRowCount(int(names.size()));
    for (int r = 0; r < names.size(); ++r) {
        QTableWidgetItem* it = DBGrid1->item(r, 0);
        if (!it) {
            it = new QTableWidgetItem;
            DBGrid1->setItem(r, 0, it);
        }
        QString text = names[r];
        if (ed && r == currentRow) text = table_->FieldValue("Machine_name").toString();
        it->setText(text);
        Qt::ItemFlags fl = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
        if (ed && r == currentRow) fl |= Qt::ItemIsEditable;
        it->setFlags(fl);
    }
    if (currentRow >= 0) DBGrid1->setCurrentCell(currentRow, 0);
    for (auto it = edits_.begin(); it != edits_.end(); ++it) {
        const QVariant v = active ? table_->FieldValue(it.key()) : QVariant();
        it.value()->setText(v.isValid() ? numberText(v.toDouble()) : QString());
        it.value()->setReadOnly(!ed);
    }
    DBMemo1->setPlainText(active ? table_->FieldValue("Notes").toString() : QString());
    DBMemo1->setReadOnly(!ed);
    const bool any = active && table_->RecordCount() > 0;
    const bool writable = active && !table_->ReadOnly();
    LabelTylkoDoOdczytu->setText(active && table_->ReadOnly() ? MachineTableReadOnlyMessage() : QString());
    LabelTylkoDoOdczytu->setVisible(active && table_->ReadOnly());
    navButtons_[nbFirst]->setEnabled(any && !ed && !table_->Bof());
    navButtons_[nbPrior]->setEnabled(any && !ed && !table_->Bof());
    navButtons_[nbNext]->setEnabled(any && !ed && !table_->Eof());
    navButtons_[nbLast]->setEnabled(any && !ed && !table_->Eof());
    navButtons_[nbInsert]->setEnabled(writable && !ed);
    navButtons_[nbDelete]->setEnabled(writable && (any || inserting));
    navButtons_[nbEdit]->setEnabled(writable && any && !ed);
    navButtons_[nbPost]->setEnabled(ed);
    navButtons_[nbCancel]->setEnabled(ed);
    navButtons_[nbRefresh]->setEnabled(active && !ed);
    updating_ = false;
}

bool TFBDMaszyny::post() {
    // The typed texts go into the record first; a limit that is no number stops the post.
    const int row = DBGrid1->currentRow();
    if (row >= 0 && DBGrid1->item(row, 0)) table_->SetFieldValue("Machine_name", DBGrid1->item(row, 0)->text());
    table_->SetFieldValue("Notes", DBMemo1->toPlainText());
    for (auto it = edits_.begin(); it != edits_.end(); ++it) {
        QString t = it.value()->text().trimmed();
        t.replace(',', '.');
        bool ok = t.isEmpty();
        const double v = ok ? 0.0 : t.toDouble(&ok);
        if (!ok || !std::isfinite(v)) {
            if (ShowMessage)
                ShowMessage("'" + it.value()->text() + "' " +
                            TranslateString("stNieJestLiczba", "nie jest poprawną liczbą."));
            it.value()->setFocus();
            return false;
        }
        table_->SetFieldValue(it.key(), v);
    }
    if (!table_->Post()) {
        if (ShowMessage) ShowMessage(table_->LastError());
        return false;
    }
    return true;
}

void TFBDMaszyny::NavigatorClick(NavButton button) {
    if (!table_ || !table_->Active() || !navButtons_[button]->isEnabled()) return;
    switch (button) {
    case nbFirst: table_->First(); break;
    case nbPrior: table_->Prior(); break;
    case nbNext: table_->Next(); break;
    case nbLast: table_->Last(); break;
    case nbInsert: table_->Insert(); break;
    case nbDelete:
        if (table_->state() == TMachineTable::Inserting) {
            table_->Cancel();
        } else if (!Confirm || Confirm(TranslateString("stUsunRekord", "Usunąć rekord?"))) {
            if (!table_->Delete() && ShowMessage) ShowMessage(table_->LastError());
        }
        break;
    case nbEdit: table_->Edit(); break;
    case nbPost: post(); break;
    case nbCancel: table_->Cancel(); break;
    case nbRefresh:
        if (!table_->Refresh() && ShowMessage) ShowMessage(table_->LastError());
        break;
    }
    showRecord();
}

void TFBDMaszyny::done(int r) {
    // A record being edited is stored when the window closes; when it cannot be, the window
    // stays open so that nothing typed is lost unnoticed.
    if (editing() && !post()) return;
    TSSForm::done(r);
}

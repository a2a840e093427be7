#pragma once
// Browser of the machine table: permissible errors per standard, navigated and edited record
// by record (nothing can be typed until Edit or Insert).
#include <QHash>
#include <functional>

#include "foundations/FR_Utils.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QToolButton;
class TMachineTable;

class TFBDMaszyny : public TSSForm {
    Q_OBJECT
public:
    // Table: the one to browse (DataModule1's when null).
    explicit TFBDMaszyny(TMachineTable* table = nullptr, QWidget* parent = nullptr);

    // Messages and the delete confirmation (replaceable for tests).
    std::function<void(const QString&)> ShowMessage;
    std::function<bool(const QString&)> Confirm;

    // Navigator buttons, in their order: first, prior, next, last, insert, delete, edit, post,
    // cancel, refresh.
    enum NavButton { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };
    void NavigatorClick(NavButton button);
    QToolButton* NavigatorButton(NavButton button) const { return navButtons_[button]; }
    QLineEdit* FieldEdit(const QString& field) const { return edits_.value(field); }

    void FormCreate();
    // The page of the standard's limits shown first (an index outside the pages keeps the first).
    void ShowStandardPage(int standard);

protected:
    void done(int r) override;

private:
    void showRecord();
    bool post();
    bool editing() const;

    TMachineTable* table_;
    QTableWidget* DBGrid1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QPlainTextEdit* DBMemo1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QLabel* LabelTylkoDoOdczytu = nullptr;
    QToolButton* navButtons_[10] = {};
    QHash<QString, QLineEdit*> edits_;
    bool updating_ = false;
};

using TFDBMaszyny = TFBDMaszyny;

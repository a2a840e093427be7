#pragma once
// Language menu, the language list of the options dialog, and switching language.
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QMenu;
class TRadioGroup;

// A language for which a file lies in the program folder.
struct LanguageEntry {
    QString caption;       // "English", or "English (United States)" for a specific locale
    QString abbreviation;  // "EN", "ENU"
};

// Every language file found by walking the system's locales (primary languages 1 to 63, each
// with its sub-languages while the system knows them), each abbreviation once, in walk order.
QList<LanguageEntry> AvailableLanguages();

// Fills `parent` with one item per available language ("[default]" first, named "Dflt1"; the
// others named abbreviation + "1"), each handled by TClickObj::Click. No language: `parent`
// is disabled. The items are checkable and exclusive; the stored choice is checked ("[default]"
// when none is stored).
void BuildLanguageMenu(QMenu* parent);
// Checks the item of the stored choice in a menu filled by BuildLanguageMenu (none when the
// choice has no item).
void MarkLanguageMenu(QMenu* menu);

// Fills the options dialog's language choice and the parallel abbreviations ("Dflt" for
// "[default]"); both are emptied first. No language: the group is disabled.
void FillLanguageList(TRadioGroup* group, QStringList& abbreviations);

// Stores the language at `index` of a list filled by FillLanguageList ("Dflt" as an empty
// choice), reopens the language file and tells the main window. An index outside the list
// changes nothing.
void ApplyLanguage(int index, const QStringList& abbreviations);

// Stores the language choice ("Locales").
void StoreLanguageChoice(const QString& abbreviation);
// The stored choice ("Locales"), empty for the system's language.
QString StoredLanguageChoice();
// The item of a stored choice in a list filled by FillLanguageList: an empty choice is the
// system's language, "[default]"; letter case does not count. -1 when the choice has no item.
int LanguageListIndex(const QStringList& abbreviations, const QString& stored);

// Where a change came from: the language menu or the options dialog. Either way the main window
// re-translates itself, the link status window and its run-time captions.
enum class LanguageChange { FromMenu, FromOptions };
// The main window registers how it re-translates itself (empty: nothing to re-translate).
void setLanguageChangedHandler(std::function<void(LanguageChange)> handler);

// Supplies the click handler of the language menu items.
class TClickObj : public QObject {
    Q_OBJECT
public:
    static TClickObj& instance();
    // Sender: a language menu item. Abbreviation = its name less the last character, "Dflt"
    // meaning the system's language; stored, the file reopened, the main window re-translated.
    void Click(QAction* sender);
};

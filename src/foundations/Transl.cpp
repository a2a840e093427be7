#include "foundations/Transl.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPointer>

#include "foundations/FR_Utils.h"
#include "foundations/LocaleTable.h"
#include "foundations/RadioGroup.h"
#include "platform/AppPaths.h"
#include "platform/Registry.h"

namespace {

// Shown for the system's language; no language file replaces it.
const QString kDefaultCaption = QStringLiteral("[default]");
const QString kDefaultName = QStringLiteral("Dflt");

std::function<void(LanguageChange)>& handler() {
    static std::function<void(LanguageChange)> h;
    return h;
}

// The language menu built last, so a change made elsewhere (the options dialog) moves its mark.
QPointer<QMenu>& languageMenu() {
    static QPointer<QMenu> m;
    return m;
}

QString storedChoice() {
    return platform::appRegistry().readString(kLanguageChoiceKey, kLanguageChoiceValue).value_or(QString()).trimmed();
}

QString abbreviationOf(const QString& name) {
    return name.compare(kDefaultName, Qt::CaseInsensitive) == 0 ? QString() : name;
}

void changeLanguage(const QString& abbreviation, LanguageChange kind) {
    StoreLanguageChoice(abbreviation);
    LoadLanguageFile();
    MarkLanguageMenu(languageMenu());
    if (handler()) handler()(kind);
}

}  // namespace

QList<LanguageEntry> AvailableLanguages() {
    QList<LanguageEntry> found;
    QStringList listed;
    for (uint32_t p = 1; p <= 63; ++p) {
        if (!foundations::findLocale(p)) continue;
        for (uint32_t s = 0; s < 64; ++s) {
            const uint32_t lcid = p + s * 1024;
            const QString name = foundations::localeAbbreviation(lcid);
            if (name.isEmpty()) break;
            const QString abbrev = s == 0 ? name.left(2) : name;
            if (listed.contains(abbrev, Qt::CaseInsensitive) || FindLanguageFile(abbrev).isEmpty()) continue;
            listed << abbrev;
            // The language's own name, so a Serbian locale of the Croatian primary id is not
            // called Croatian.
            QString caption = foundations::localeLanguageName(lcid).section(u'(', 0, 0).trimmed();
            if (s > 0) caption += QStringLiteral(" (") + foundations::localeCountryName(lcid) + u')';
            found.push_back({caption, abbrev});
        }
    }
    return found;
}

void BuildLanguageMenu(QMenu* parent) {
    if (!parent) return;
    const QList<LanguageEntry> languages = AvailableLanguages();
    auto* group = new QActionGroup(parent);
    // The mark follows the stored choice (MarkLanguageMenu), so clicking the checked item keeps it.
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    auto add = [parent, group](const QString& caption, const QString& name, QAction* before) {
        auto* a = new QAction(caption, parent);
        a->setObjectName(name + u'1');
        a->setCheckable(true);
        a->setActionGroup(group);
        QObject::connect(a, &QAction::triggered, &TClickObj::instance(), [a] { TClickObj::instance().Click(a); });
        parent->insertAction(before, a);
        return a;
    };
    QAction* first = nullptr;
    for (const LanguageEntry& e : languages) {
        QAction* a = add(e.caption, e.abbreviation, nullptr);
        if (!first) first = a;
    }
    if (first) {
        add(kDefaultCaption, kDefaultName, first);
        languageMenu() = parent;
        MarkLanguageMenu(parent);
    } else {
        parent->setEnabled(false);
        parent->menuAction()->setEnabled(false);
    }
}

void MarkLanguageMenu(QMenu* menu) {
    if (!menu) return;
    const QString chosen = storedChoice();
    const QString name = (chosen.isEmpty() ? kDefaultName : chosen) + u'1';
    for (QAction* a : menu->actions())
        if (a->isCheckable()) a->setChecked(a->objectName().compare(name, Qt::CaseInsensitive) == 0);
}

void FillLanguageList(TRadioGroup* group, QStringList& abbreviations) {
    abbreviations.clear();
    if (!group) return;
    QStringList items;
    for (const LanguageEntry& e : AvailableLanguages()) {
        items << e.caption;
        abbreviations << e.abbreviation;
    }
    if (items.isEmpty()) {
        group->ClearItems();
        group->setEnabled(false);
        return;
    }
    items.prepend(kDefaultCaption);
    abbreviations.prepend(kDefaultName);
    group->SetItems(items);
}

void ApplyLanguage(int index, const QStringList& abbreviations) {
    if (index < 0 || index >= abbreviations.size()) return;
    changeLanguage(abbreviationOf(abbreviations[index]), LanguageChange::FromOptions);
}

void StoreLanguageChoice(const QString& abbreviation) {
    auto& reg = platform::appRegistry();
    reg.writeString(kLanguageChoiceKey, kLanguageChoiceValue, abbreviation);
    reg.sync();
}

QString StoredLanguageChoice() { return storedChoice(); }

int LanguageListIndex(const QStringList& abbreviations, const QString& stored) {
    const QString wanted = stored.trimmed().isEmpty() ? kDefaultName : stored.trimmed();
    for (int i = 0; i < abbreviations.size(); ++i)
        if (abbreviations[i].compare(wanted, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void setLanguageChangedHandler(std::function<void(LanguageChange)> h) { handler() = std::move(h); }

TClickObj& TClickObj::instance() {
    static TClickObj obj;
    return obj;
}

void TClickObj::Click(QAction* sender) {
    if (!sender || sender->objectName().isEmpty()) return;
    changeLanguage(abbreviationOf(sender->objectName().chopped(1)), LanguageChange::FromMenu);
}

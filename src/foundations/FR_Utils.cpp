#include "foundations/FR_Utils.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHash>
#include <QSet>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "foundations/IniFile.h"
#include "foundations/LocaleTable.h"
#include "foundations/ProgramMessages.h"
#include "foundations/QtTranslations.h"
#include "foundations/Display.h"
#include "foundations/RadioGroup.h"
#include "foundations/RealSpinEdit.h"
#include "platform/AppPaths.h"
#include "platform/Chart.h"
#include "platform/ChartSeries.h"
#include "platform/Registry.h"

namespace {

struct LanguageFile {
    QString path;
    foundations::IniFile ini;
    bool damaged = false;  // there, but unreadable or damaged
    // The language's own locale, when it is not the system's language: its numbers are shown
    // the way that language writes them.
    std::optional<QLocale> numberLocale;
};

std::mutex& fileMutex() {
    static std::mutex m;
    return m;
}
std::shared_ptr<const LanguageFile>& currentFile() {
    static std::shared_ptr<const LanguageFile> f;
    return f;
}
std::shared_ptr<const LanguageFile> current() {
    std::lock_guard lock(fileMutex());
    return currentFile();
}

const QString kStrings = QStringLiteral("Strings");

// "ITEMn": n is the decimal number in characters 5 to 7. Anything else (no digits, a sign,
// letters) names no item and is ignored.
int itemIndex(const QString& property) {
    const QString digits = property.mid(4, 3);
    if (digits.isEmpty()) return -1;
    for (QChar c : digits)
        if (c < u'0' || c > u'9') return -1;
    return digits.toInt();
}

// A component of the form itself, not of another form (a dialog) that lives under it.
bool ownedByForm(const QObject* o, const QWidget* form) {
    for (const QObject* p = o->parent(); p && p != form; p = p->parent())
        if (qobject_cast<const QDialog*>(p) || qobject_cast<const QMainWindow*>(p)) return false;
    return !(qobject_cast<const QDialog*>(o) || qobject_cast<const QMainWindow*>(o));
}

bool hasProperty(const QObject* o, const char* name) { return o->property(name).isValid(); }

// One text of a component that a key can replace: how to read it and how to set it.
struct TextSlot {
    std::function<QString()> get;
    std::function<void(const QString&)> set;
    explicit operator bool() const { return bool(get); }
};

// The text that `property` (in capitals: CAPTION, TITLE, HINT, ITEMn) names on a component;
// empty when the component's kind takes no such property.
TextSlot slotOf(QObject* comp, const QString& property) {
    if (auto* action = qobject_cast<QAction*>(comp)) {
        if (property != u"CAPTION") return {};
        return {[action] { return action->text(); }, [action](const QString& t) { action->setText(t); }};
    }
    if (auto* menu = qobject_cast<QMenu*>(comp)) {
        if (property != u"CAPTION") return {};
        return {[menu] { return menu->title(); }, [menu](const QString& t) { menu->setTitle(t); }};
    }
    if (!comp->isWidgetType()) {
        // Report labels carry "caption", chart series "title"; each takes only that one.
        const char* name = hasProperty(comp, "caption") ? "caption" : hasProperty(comp, "title") ? "title" : nullptr;
        if (!name || property != (name[0] == 'c' ? u"CAPTION" : u"TITLE")) return {};
        return {[comp, name] { return comp->property(name).toString(); },
                [comp, name](const QString& t) { comp->setProperty(name, t); }};
    }

    auto* w = static_cast<QWidget*>(comp);
    if (property == u"CAPTION") {
        if (auto* l = qobject_cast<QLabel*>(w)) return {[l] { return l->text(); }, [l](const QString& t) { l->setText(t); }};
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            return {[b] { return b->text(); }, [b](const QString& t) { b->setText(t); }};
        if (auto* g = qobject_cast<QGroupBox*>(w))
            return {[g] { return g->title(); }, [g](const QString& t) { g->setTitle(t); }};
        if (auto* e = qobject_cast<QLineEdit*>(w))
            return {[e] { return e->text(); }, [e](const QString& t) { e->setText(t); }};
        if (hasProperty(w, "caption"))
            return {[w] { return w->property("caption").toString(); },
                    [w](const QString& t) { w->setProperty("caption", t); }};
        if (auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
            stack && qobject_cast<QTabWidget*>(stack->parentWidget())) {
            auto* tabs = static_cast<QTabWidget*>(stack->parentWidget());
            if (tabs->indexOf(w) < 0) return {};
            return {[tabs, w] { return tabs->tabText(tabs->indexOf(w)); },
                    [tabs, w](const QString& t) { tabs->setTabText(tabs->indexOf(w), t); }};
        }
        return {[w] { return w->windowTitle(); }, [w](const QString& t) { w->setWindowTitle(t); }};
    }
    if (property == u"HINT") return {[w] { return w->toolTip(); }, [w](const QString& t) { w->setToolTip(t); }};
    if (property.startsWith(u"ITEM")) {
        const int n = itemIndex(property);
        if (n < 0) return {};
        if (auto* group = qobject_cast<TRadioGroup*>(w)) {
            if (group->itemCount() <= n) return {};
            return {[group, n] { return group->item(n); }, [group, n](const QString& t) { group->setItem(n, t); }};
        }
        // A drop-down list's items are a choice of texts as a radio group's are.
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            if (combo->count() <= n) return {};
            return {[combo, n] { return combo->itemText(n); },
                    [combo, n](const QString& t) { combo->setItemText(n, t); }};
        }
    }
    return {};
}

// Each text keeps its built-in value (the one the form was built with) in a dynamic property
// from the first time a language file sets it, so that a later file without that key gives
// back the built-in text instead of leaving the previous language's.
constexpr char kBuiltInPrefix[] = "vkm30BuiltIn.";

QByteArray builtInName(const QString& property) { return QByteArray(kBuiltInPrefix) + property.toLatin1(); }

QString builtInText(QObject* comp, const QString& property, const TextSlot& slot) {
    const QByteArray name = builtInName(property);
    const QVariant kept = comp->property(name.constData());
    if (kept.isValid()) return kept.toString();
    const QString text = slot.get();
    comp->setProperty(name.constData(), text);
    return text;
}

// Gives back the built-in texts of `comp` that this translation did not set.
void restoreUntouched(QObject* comp, const QSet<QByteArray>& touched) {
    const QList<QByteArray> names = comp->dynamicPropertyNames();
    for (const QByteArray& name : names) {
        if (!name.startsWith(kBuiltInPrefix) || touched.contains(name)) continue;
        const QString property = QString::fromLatin1(name.mid(int(sizeof(kBuiltInPrefix)) - 1));
        if (TextSlot slot = slotOf(comp, property)) slot.set(comp->property(name.constData()).toString());
    }
}

}  // namespace

QString LanguageFileBaseName() {
    QString dir = platform::programDirectory();
    if (!dir.endsWith(u'/')) dir += u'/';
    return dir + QStringLiteral("Vkm30.");
}

QString FindLanguageFile(const QString& abbreviation) {
    if (abbreviation.isEmpty()) return QString();
    const QString path = LanguageFileBaseName() + abbreviation;
    if (QFileInfo(path).isFile()) return path;
    // Windows does not tell "Vkm30.EN" from "Vkm30.en"; neither do we.
    const QFileInfo fi(path);
    const QStringList names = QDir(fi.absolutePath()).entryList(QDir::Files);
    for (const QString& n : names)
        if (n.compare(fi.fileName(), Qt::CaseInsensitive) == 0) return fi.absolutePath() + u'/' + n;
    return QString();
}

void LoadLanguageFile() {
    QString choice =
        platform::appRegistry().readString(kLanguageChoiceKey, kLanguageChoiceValue).value_or(QString()).trimmed();
    if (choice.isEmpty()) {
        choice = foundations::systemLocaleAbbreviation().left(31);
        if (FindLanguageFile(choice).isEmpty() && choice.toUpper() != u"PLK") choice = QStringLiteral("EN");
    }
    auto file = std::make_shared<LanguageFile>();
    QString found = FindLanguageFile(choice);
    file->path = found.isEmpty() ? LanguageFileBaseName() + choice : found;
    // A missing file leaves every text built in, and so Polish.
    const bool loaded = file->ini.load(file->path);
    file->damaged = loaded ? file->ini.damaged() : QFileInfo::exists(file->path);
    if (loaded) {
        const std::optional<QLocale> language = foundations::localeOfAbbreviation(choice);
        if (language && language->language() != foundations::systemLocale().language()) file->numberLocale = language;
    }
    {
        std::lock_guard lock(fileMutex());
        currentFile() = std::move(file);
    }
    const QString qtLanguage = loaded ? IsoLanguageOf(choice) : QString();
    UseQtTranslations(qtLanguage.isEmpty() ? QStringLiteral("pl") : qtLanguage);
}

void CloseLanguageFile() {
    {
        std::lock_guard lock(fileMutex());
        currentFile().reset();
    }
    UseQtTranslations(QString());
}

bool LanguageFileOpen() { return current() != nullptr; }

QLocale ShownNumberLocale() {
    auto f = current();
    return f && f->numberLocale ? *f->numberLocale : foundations::systemLocale();
}

QString DamagedLanguageFile() {
    auto f = current();
    return f && f->damaged ? f->path : QString();
}

QString CurrentLanguageFilePath() {
    auto f = current();
    return f ? f->path : QString();
}

QString TranslateString(const QString& key, const QString& defaultText) {
    auto f = current();
    if (!f) return defaultText;
    return f->ini.value(kStrings, key, defaultText);
}

void TranslateForm(QWidget* form) {
    if (!form) return;
    if (!LanguageFileOpen()) LoadLanguageFile();
    auto f = current();
    const QString section = form->objectName();

    // Component names compare without regard to case; the first of a name counts.
    QHash<QString, QObject*> byName;
    QList<QObject*> owned;
    const QList<QObject*> all = form->findChildren<QObject*>();
    for (QObject* o : all) {
        if (!ownedByForm(o, form)) continue;
        owned.append(o);
        const QString n = o->objectName().toUpper();
        if (!n.isEmpty() && !byName.contains(n)) byName.insert(n, o);
    }

    QHash<QObject*, QSet<QByteArray>> touched;
    auto apply = [&](QObject* comp, const QString& property, const QString& key) {
        const TextSlot slot = slotOf(comp, property);
        if (!slot) return;
        const QString builtIn = builtInText(comp, property, slot);
        slot.set(f->ini.value(section, key, builtIn));
        touched[comp].insert(builtInName(property));
    };
    if (f && !section.isEmpty() && f->ini.hasSection(section)) {
        const QString caption = QStringLiteral("Caption");
        if (f->ini.value(section, caption).has_value()) {
            const TextSlot slot{[form] { return form->windowTitle(); }, [form](const QString& t) { form->setWindowTitle(t); }};
            slot.set(f->ini.value(section, caption, builtInText(form, QStringLiteral("FORMCAPTION"), slot)));
            touched[form].insert(builtInName(QStringLiteral("FORMCAPTION")));
        }
        const QStringList keys = f->ini.keys(section);
        for (const QString& key : keys) {
            const QString upper = key.toUpper();
            if (upper == u"CAPTION") continue;
            const int dot = upper.indexOf(u'.');
            if (dot < 0) continue;
            QObject* comp = byName.value(upper.left(dot));
            if (!comp) continue;
            apply(comp, upper.mid(dot + 1, 255), key);
        }
    }

    // What this file does not name is built-in again, not left in the previous language.
    const QByteArray formCaption = builtInName(QStringLiteral("FORMCAPTION"));
    const QVariant keptCaption = form->property(formCaption.constData());
    if (keptCaption.isValid() && !touched.value(form).contains(formCaption)) form->setWindowTitle(keptCaption.toString());
    for (QObject* o : owned) restoreUntouched(o, touched.value(o));

    ShowNumbersOfLanguage(form);
    if (auto* ss = qobject_cast<TSSForm*>(form)) ss->AfterTranslate();
}

void ShowNumbersOfLanguage(QWidget* form) {
    if (!form) return;
    for (TRealSpinEdit* e : form->findChildren<TRealSpinEdit*>())
        if (ownedByForm(e, form)) e->ShowDecimalSeparator();
    const QLocale numbers = ShownNumberLocale();
    for (platform::TChart* c : form->findChildren<platform::TChart*>())
        if (ownedByForm(c, form)) c->SetNumberLocale(numbers);
    for (TDisplay* d : form->findChildren<TDisplay*>())
        if (ownedByForm(d, form)) d->update();
}

void RetranslateRunTimeTexts(QWidget* form, const MessageTexts& before, const MessageTexts& after) {
    if (!form) return;
    auto again = [&](const QString& t) { return RetranslateText(t, before, after); };
    for (platform::TChart* chart : form->findChildren<platform::TChart*>()) {
        if (!ownedByForm(chart, form)) continue;
        QStringList lines = chart->Title().text;
        for (QString& l : lines) l = again(l);
        if (lines != chart->Title().text) chart->SetTitleText(lines);
        for (platform::TChartAxis* axis : {&chart->LeftAxis(), &chart->BottomAxis(), &chart->DepthAxis()}) {
            const QString t = again(axis->Title());
            if (t != axis->Title()) axis->SetTitle(t);
        }
        for (int i = 0; i < chart->SeriesCount(); ++i) {
            platform::TChartSeries* series = chart->Series(i);
            const QString t = again(series->Title());
            if (t != series->Title()) series->SetTitle(t);
        }
        chart->update();
    }
    // A label or a status line shows a message whole; a longer text there is the inspector's.
    auto whole = [&](const QString& t) {
        const QString trimmed = t.trimmed();
        for (const MessageText& m : before) {
            if (m.text.trimmed() != trimmed || trimmed.isEmpty()) continue;
            for (const MessageText& n : after)
                if (n.key.compare(m.key, Qt::CaseInsensitive) == 0) return n.text;
        }
        return t;
    };
    for (QLabel* label : form->findChildren<QLabel*>()) {
        if (!ownedByForm(label, form) || label->textFormat() == Qt::RichText) continue;
        const QString t = whole(label->text());
        if (t != label->text()) label->setText(t);
    }
    for (QStatusBar* bar : form->findChildren<QStatusBar*>()) {
        if (!ownedByForm(bar, form) || bar->currentMessage().isEmpty()) continue;
        const QString t = again(bar->currentMessage());
        if (t != bar->currentMessage()) bar->showMessage(t);
    }
}

TSSForm::TSSForm(QWidget* parent) : QDialog(parent) {}

void TSSForm::FinishCreate() { TranslateForm(this); }

#include "foundations/FR_Utils.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>
#include <memory>
#include <mutex>

#include "foundations/IniFile.h"
#include "foundations/LocaleTable.h"
#include "foundations/RadioGroup.h"
#include "platform/AppPaths.h"
#include "platform/Registry.h"

namespace {

struct LanguageFile {
    QString path;
    foundations::IniFile ini;
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

// Sets one text of a component from the form's section; the component's current text is the
// default, so an absent key changes nothing and an empty value empties the text.
void translateComponent(QObject* comp, const QString& property, const foundations::IniFile& ini,
                        const QString& section, const QString& key) {
    auto value = [&](const QString& current) { return ini.value(section, key, current); };

    if (auto* action = qobject_cast<QAction*>(comp)) {
        if (property == u"CAPTION") action->setText(value(action->text()));
        return;
    }
    if (auto* menu = qobject_cast<QMenu*>(comp)) {
        if (property == u"CAPTION") menu->setTitle(value(menu->title()));
        return;
    }
    if (!comp->isWidgetType()) {
        // Report labels carry "caption", chart series "title"; each takes only that one.
        if (hasProperty(comp, "caption")) {
            if (property == u"CAPTION") comp->setProperty("caption", value(comp->property("caption").toString()));
        } else if (hasProperty(comp, "title")) {
            if (property == u"TITLE") comp->setProperty("title", value(comp->property("title").toString()));
        }
        return;
    }

    auto* w = static_cast<QWidget*>(comp);
    if (property == u"CAPTION") {
        if (auto* l = qobject_cast<QLabel*>(w)) {
            l->setText(value(l->text()));
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            b->setText(value(b->text()));
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            g->setTitle(value(g->title()));
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            e->setText(value(e->text()));
        } else if (hasProperty(w, "caption")) {
            w->setProperty("caption", value(w->property("caption").toString()));
        } else if (auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
                   stack && qobject_cast<QTabWidget*>(stack->parentWidget())) {
            auto* tabs = static_cast<QTabWidget*>(stack->parentWidget());
            int i = tabs->indexOf(w);
            if (i >= 0) tabs->setTabText(i, value(tabs->tabText(i)));
        } else {
            w->setWindowTitle(value(w->windowTitle()));
        }
    } else if (property == u"HINT") {
        w->setToolTip(value(w->toolTip()));
    } else if (property.startsWith(u"ITEM")) {
        auto* group = qobject_cast<TRadioGroup*>(w);
        int n = itemIndex(property);
        if (group && n >= 0 && group->itemCount() > n) group->setItem(n, value(group->item(n)));
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
    file->ini.load(file->path);  // a missing file leaves every text built in
    std::lock_guard lock(fileMutex());
    currentFile() = std::move(file);
}

void CloseLanguageFile() {
    std::lock_guard lock(fileMutex());
    currentFile().reset();
}

bool LanguageFileOpen() { return current() != nullptr; }

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
    if (f && !section.isEmpty() && f->ini.hasSection(section)) {
        const foundations::IniFile& ini = f->ini;
        form->setWindowTitle(ini.value(section, QStringLiteral("Caption"), form->windowTitle()));

        // Component names compare without regard to case; the first of a name counts.
        QHash<QString, QObject*> byName;
        const QList<QObject*> all = form->findChildren<QObject*>();
        for (QObject* o : all) {
            if (!ownedByForm(o, form)) continue;
            const QString n = o->objectName().toUpper();
            if (!n.isEmpty() && !byName.contains(n)) byName.insert(n, o);
        }
        const QStringList keys = ini.keys(section);
        for (const QString& key : keys) {
            const QString upper = key.toUpper();
            if (upper == u"CAPTION") continue;
            const int dot = upper.indexOf(u'.');
            if (dot < 0) continue;
            QObject* comp = byName.value(upper.left(dot));
            if (!comp) continue;
            translateComponent(comp, upper.mid(dot + 1, 255), ini, section, key);
        }
    }
    if (auto* ss = qobject_cast<TSSForm*>(form)) ss->AfterTranslate();
}

TSSForm::TSSForm(QWidget* parent) : QDialog(parent) {}

void TSSForm::FinishCreate() { TranslateForm(this); }

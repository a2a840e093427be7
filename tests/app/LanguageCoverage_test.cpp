// The English language file over the whole program: every form and the main window with all its
// pages are built once with the built-in Polish texts and once with Vkm30.EN, and no text the
// user sees may stay Polish. Also: every message key the sources use has an English entry.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDirIterator>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextStream>
#include <functional>
#include <map>
#include <memory>

#include "EveryForm.h"
#include "MainWindowFixture.h"
#include "app/UDataModule.h"
#include "foundations/HeadList.h"
#include "foundations/IniFile.h"
#include "foundations/RadioGroup.h"
#include "platform/Chart.h"
#include "platform/ChartSeries.h"
#include "platform/Registry.h"
#include "reports/ReportEngine.h"
#include "support/InstrumentSinkDoubles.h"

namespace {

using everyform::EveryForm;
using everyform::FormMaker;
using everyform::NoRecording;

// Texts that read the same in both languages: units, names, symbols.
const QStringList kSameInBoth = {
    "OK", "Vkm30", "VKM30", "Veldrasta", "Start", "Stop", "Xa", "Xr", "Dc", "Ds", "mm", "cm", "m", "in",
    "µm", "nm", "mm/s", "m/s", "m/min", "mm/min", "in/s", "in/min", "°C", "°F", "hPa", "mmHg", "inHg",
    "[µm]", "[mm/s]", "[mm/s2]", "[default]", "3 D", "FFT", "Com", "Hz", "Wollaston", "Zeeman", "Belgia",
    "X", "Y", "Z", "A", "B", "C", "x", "y", "z", "%", "s", "min", "h", "sec", "G-code", "ISO 230-2", "VDI 3441",
    "NMTBA", "BSI", "PN-93/M-55580", "JIS B 6330", "GB 10931-89", "ISO 10360", "Fanuc", "Heidenhain", "Siemens",
    "Speed b/s", "1 Mhz", "AX1", "AX2", "AX3", "Al", "Cu", "D-Al", "BSI BS 4656 P16", "CPU WARNING", "DATA ERROR",
    "EMPTY FIFO", "FULL", "FULL FIFO", "HP", "ISO", "JIS", "JIS B-6330-1980", "Incremental", "Laser", "Linear",
    "MEA LEVEL OK", "METEO ON", "Meteo ON", "Mar", "Max level", "Min level", "OFF", "ON", "PN", "PN - 81/M-55551.32-3",
    "Pa", "Pmax", "Port", "Power Off", "Power On", "Ps", "Ps+U", "RB", "READY", "REQ FLAG K0", "REQ FLAG K1", "RPmax",
    "RU+", "RU-", "SYNCHRO", "T OFF", "T ON", "Turn Off", "Turn On", "VDI", "VDI/DGQ 3441", "VKM 30", "XY", "Zoom",
    "Zoom to the specified percentage", "[deg]", "Minimum", "inch", "FIFO", "RS232", "dX", "dY", "<a href=\"\"></a>",
    "Program", "Format", "Operator", "Import", "Load program", "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9", "COM10",
};

struct ShownText {
    QString where;  // form / component path : kind
    QString key;    // the language-file key that would reach it, when there is one
    QString text;
};

QString normalized(QString t) {
    t.remove(u'&');
    return t.simplified();
}

bool needsTranslation(const QString& raw) {
    // The program folder is shown as it is on disk.
    const QString t = normalized(QString(raw).remove(platform::programDirectory()));
    if (t.isEmpty() || kSameInBoth.contains(t)) return false;
    // Numbers, units in brackets and other texts without a word of two letters.
    static const QRegularExpression word(QStringLiteral("[^\\W\\d_]{2,}"));
    QString withoutUnits = t;
    for (const QString& u : kSameInBoth) withoutUnits.replace(QRegularExpression("\\b" + QRegularExpression::escape(u) + "\\b"), " ");
    return word.match(withoutUnits).hasMatch();
}

bool isOtherForm(const QObject* o) { return qobject_cast<const QDialog*>(o) || qobject_cast<const QMainWindow*>(o); }

// A component of the form itself, not of another form that lives under it.
bool ownedBy(const QObject* o, const QWidget* form) {
    for (const QObject* p = o->parent(); p && p != form; p = p->parent())
        if (isOtherForm(p)) return false;
    return !isOtherForm(o);
}

QString pathOf(const QObject* o, const QWidget* form) {
    if (o == form) return QString();
    if (!o->objectName().isEmpty()) return o->objectName();
    const QObject* parent = o->parent();
    const int index = parent ? int(parent->children().indexOf(const_cast<QObject*>(o))) : 0;
    return pathOf(parent, form) + u'/' + QString::fromLatin1(o->metaObject()->className()) + u'#' + QString::number(index);
}

// Every text of a form that its user reads: captions, titles, hints, items, headings, chart texts.
std::vector<ShownText> ShownTexts(QWidget* form) {
    std::vector<ShownText> out;
    const QString section = form->objectName();
    auto add = [&](const QObject* o, const QString& kind, const QString& property, const QString& text) {
        if (text.isEmpty()) return;
        const QString path = pathOf(o, form);
        const bool named = !o->objectName().isEmpty();
        QString key;
        if (o == form) key = "Caption";
        else if (named && !property.isEmpty()) key = o->objectName() + u'.' + property;
        out.push_back({section + u'/' + path + u':' + kind, key, text});
    };
    add(form, "title", "Caption", form->windowTitle());

    QList<QObject*> all = form->findChildren<QObject*>();
    for (QObject* o : all) {
        if (!ownedBy(o, form)) continue;
        // Texts Qt builds inside its own composite widgets follow Qt's translations.
        if (o->objectName().startsWith("qt_")) continue;
        if (auto* a = qobject_cast<QAction*>(o)) {
            if (!a->isSeparator()) add(a, "action", "Caption", a->text());
            continue;
        }
        if (auto* chart = qobject_cast<platform::TChart*>(o)) {
            add(chart, "chart title", "", chart->Title().text.join(u' '));
            add(chart, "chart foot", "", chart->Foot().text.join(u' '));
            add(chart, "left axis", "", chart->LeftAxis().Title());
            add(chart, "bottom axis", "", chart->BottomAxis().Title());
            add(chart, "depth axis", "", chart->DepthAxis().Title());
        }
        if (auto* series = qobject_cast<platform::TChartSeries*>(o)) {
            // A series named by its component name only has no title of its own to translate.
            if (series->Title() != series->objectName()) add(series, "series", "Title", series->Title());
            continue;
        }
        if (!o->isWidgetType()) continue;
        auto* w = static_cast<QWidget*>(o);
        // A radio group's buttons show its items, which the language file reaches as "ItemN".
        if (qobject_cast<QRadioButton*>(w) && qobject_cast<TRadioGroup*>(w->parentWidget())) continue;
        if (auto* r = qobject_cast<TRadioGroup*>(w))
            for (int i = 0; i < r->itemCount(); ++i) add(r, "item " + QString::number(i), "Item" + QString::number(i), r->item(i));
        // The folder and file lists show the disk's names, not texts of the program.
        if (w->objectName() == u"DirectoryListBox1" || w->objectName() == u"FileListBox1") continue;
        add(w, "hint", "Hint", w->toolTip());
        if (auto* m = qobject_cast<QMenu*>(w)) add(m, "menu", "Caption", m->title());
        else if (auto* l = qobject_cast<QLabel*>(w)) add(l, "label", "Caption", l->text());
        else if (auto* b = qobject_cast<QAbstractButton*>(w)) add(b, "button", "Caption", b->text());
        else if (auto* g = qobject_cast<QGroupBox*>(w)) add(g, "group", "Caption", g->title());
        else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            if (!qobject_cast<QAbstractSpinBox*>(w->parentWidget()) && !qobject_cast<QComboBox*>(w->parentWidget()))
                add(e, "edit", "Caption", e->text());
        }
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i) add(c, "item " + QString::number(i), "Item" + QString::number(i), c->itemText(i));
        if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i) {
                QWidget* page = t->widget(i);
                if (page && !page->objectName().isEmpty()) add(page, "tab", "Caption", t->tabText(i));
                else add(t, "tab " + QString::number(i), "", t->tabText(i));
            }
        if (auto* t = qobject_cast<QTableWidget*>(w)) {
            for (int c = 0; c < t->columnCount(); ++c)
                if (auto* i = t->horizontalHeaderItem(c)) add(t, "column " + QString::number(c), "", i->text());
            for (int r = 0; r < t->rowCount() && r < 60; ++r) {
                if (auto* i = t->verticalHeaderItem(r)) add(t, "row " + QString::number(r), "", i->text());
                for (int c = 0; c < t->columnCount(); ++c)
                    if (auto* i = t->item(r, c)) add(t, QString("cell %1,%2").arg(r).arg(c), "", i->text());
            }
        }
        if (auto* l = qobject_cast<QListWidget*>(w))
            for (int r = 0; r < l->count(); ++r) add(l, "list " + QString::number(r), "", l->item(r)->text());
        if (auto* h = qobject_cast<THeaderListbox*>(w)) {
            const auto sections = h->Sections();
            for (int i = 0; i < sections.size(); ++i) add(h, "section " + QString::number(i), "", sections[i].text);
        }
    }
    return out;
}

// The texts of `english` that are still what `polish` showed at the same place.
QStringList StillPolish(const std::vector<ShownText>& polish, const std::vector<ShownText>& english) {
    std::map<QString, QString> before;
    for (const ShownText& t : polish) before[t.where] = t.text;
    QStringList left;
    static const QRegularExpression polishLetters(QStringLiteral("[ąćęłńóśźżĄĆĘŁŃÓŚŹŻ]"));
    for (const ShownText& t : english) {
        const auto it = before.find(t.where);
        const bool same = it != before.end() && normalized(it->second) == normalized(t.text);
        if ((same && needsTranslation(t.text)) || polishLetters.match(t.text).hasMatch())
            left << QString("%1  [%2]  \"%3\"").arg(t.where, t.key, t.text);
    }
    return left;
}

class LanguageCoverageTest : public MainWindowTest {
protected:
    // The forms' texts with the language file in use (none: the built-in texts).
    std::map<QString, std::vector<ShownText>> textsOfEveryForm() {
        CloseLanguageFile();
        std::map<QString, std::vector<ShownText>> texts;
        TMachineTable machines;
        machines.SetDatabaseName(dir.path());
        NoRecording recording;
        testsupport::PortSearchThreadsDouble searches;
        for (const FormMaker& m : EveryForm(machines, recording, searches)) {
            std::unique_ptr<QWidget> form = m.make();
            texts[m.name] = ShownTexts(form.get());
        }
        start();
        texts["MainForm"] = ShownTexts(form());
        app::EndProgram(program);
        program = {};
        return texts;
    }
    void useEnglish() {
        QFile::remove(dir.filePath("Vkm30.EN"));
        ASSERT_TRUE(QFile::copy(QCoreApplication::applicationDirPath() + "/Vkm30.EN", dir.filePath("Vkm30.EN")));
        platform::appRegistry().writeString(kLanguageChoiceKey, kLanguageChoiceValue, "EN");
    }
};

}  // namespace

TEST_F(LanguageCoverageTest, EveryFormAndPageReadsEnglishWithTheEnglishFile) {
    const auto polish = textsOfEveryForm();
    useEnglish();
    const auto english = textsOfEveryForm();
    QStringList left;
    for (const auto& [name, texts] : english) {
        ASSERT_TRUE(polish.count(name)) << name.toStdString();
        ASSERT_FALSE(texts.empty()) << name.toStdString();
        left << StillPolish(polish.at(name), texts);
    }
    EXPECT_TRUE(left.isEmpty()) << left.size() << " texts still Polish:\n" << left.join(u'\n').toStdString();
}

// Every message key of the sources: a string literal "st" + capital, the form all keys take.
TEST(EnglishLanguageFile, HasEveryMessageKeyTheSourcesUse) {
    foundations::IniFile ini;
    ASSERT_TRUE(ini.load(QCoreApplication::applicationDirPath() + "/Vkm30.EN"));
    const QString sources = QStringLiteral(VKM30_TEST_DATA "/../../src");
    static const QRegularExpression literal(QStringLiteral("\"([sS]t[A-Z][A-Za-z0-9_]*)\""));
    QStringList missing;
    int keys = 0;
    QDirIterator it(sources, {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
        const QString text = QString::fromUtf8(f.readAll());
        for (auto m = literal.globalMatch(text); m.hasNext();) {
            const QString key = m.next().captured(1);
            ++keys;
            if (!ini.value("Strings", key).has_value() && !missing.contains(key)) missing << key;
        }
    }
    EXPECT_GT(keys, 150);  // the scan found the sources
    EXPECT_TRUE(missing.isEmpty()) << "no English text for: " << missing.join(u' ').toStdString();
}

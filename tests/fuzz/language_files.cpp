// A language file beside the program: whatever it holds, the program loads it, translates a form
// with every kind of component it names, and fills messages from its texts without treating
// them as format strings.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <memory>

#include "FuzzSupport.h"
#include "foundations/FR_Utils.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"
#include "foundations/Transl.h"
#include "platform/AppPaths.h"

namespace {

std::unique_ptr<QWidget> makeForm() {
    auto form = std::make_unique<QWidget>();
    form->setObjectName(QStringLiteral("TFuzzForm"));
    auto named = [](QObject* o, const char* name) { o->setObjectName(QString::fromLatin1(name)); };
    named(new QLabel(QStringLiteral("label"), form.get()), "Label1");
    named(new QPushButton(QStringLiteral("button"), form.get()), "Button1");
    named(new QGroupBox(QStringLiteral("group"), form.get()), "GroupBox1");
    named(new QLineEdit(QStringLiteral("edit"), form.get()), "Edit1");
    auto* tabs = new QTabWidget(form.get());
    auto* page = new QWidget;
    named(page, "TabSheet1");
    tabs->addTab(page, QStringLiteral("page"));
    named(new TRadioGroup(QStringLiteral("radio"), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")},
                          form.get()),
          "RadioGroup1");
    named(new QAction(QStringLiteral("action"), form.get()), "Action1");
    named(new QMenu(QStringLiteral("menu"), form.get()), "Menu1");
    return form;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::ensureApplication();
    platform::setProgramDirectory(fuzz::scratchDir());
    platform::setAppRegistryFile(fuzz::scratchPath(QStringLiteral("settings.ini")));
    StoreLanguageChoice(QStringLiteral("DEU"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::writeScratch(QStringLiteral("Vkm30.DEU"), fuzz::bytesOf(data, size));
    CloseLanguageFile();
    LoadLanguageFile();
    FUZZ_CHECK(LanguageFileOpen());
    const QString marker = QStringLiteral("<value>");
    for (const char* key : {"stNieMoznaOtworzycPliku", "stBrakFoto", "stZmianaInfo"}) {
        const QString text = TranslateString(QString::fromLatin1(key), QStringLiteral("default %s"));
        const QString filled = FillPlaceholder(text, marker);
        if (text.contains(QStringLiteral("%s"))) FUZZ_CHECK(filled.contains(marker));
    }
    auto form = makeForm();
    TranslateForm(form.get());
    CloseLanguageFile();
    return 0;
}

#include "foundations/MessageDlg.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "foundations/FR_Utils.h"

namespace {

MessageDlgHook& hook() {
    static MessageDlgHook h;
    return h;
}

QMessageBox::Icon iconOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning: return QMessageBox::Warning;
    case TMsgDlgType::mtError: return QMessageBox::Critical;
    case TMsgDlgType::mtConfirmation: return QMessageBox::Question;
    case TMsgDlgType::mtInformation: break;
    }
    return QMessageBox::Information;
}

int showBox(const MessageDlgRequest& r) {
    // The message table ends lines with CR alone, as Windows boxes take them.
    QString text = r.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QMessageBox box(iconOf(r.type), r.caption, text, QMessageBox::NoButton, QApplication::activeWindow());
    struct B {
        unsigned flag;
        const char* key;
        const char* text;
        int result;
        QMessageBox::ButtonRole role;
    };
    static const B order[] = {
        {mbYes, "stTak", "&Tak", mrYes, QMessageBox::YesRole},
        {mbNo, "stNie", "&Nie", mrNo, QMessageBox::NoRole},
        {mbOK, "stOK", "OK", mrOk, QMessageBox::AcceptRole},
        {mbCancel, "stAnuluj", "Anuluj", mrCancel, QMessageBox::RejectRole},
    };
    if (r.helpContext > 0) box.setProperty("HelpContext", r.helpContext);  // for F1
    QList<std::pair<QAbstractButton*, int>> buttons;
    for (const B& b : order)
        if (r.buttons & b.flag) buttons.append({box.addButton(MessageDlgButtonText(b.key, b.text), b.role), b.result});
    if (buttons.isEmpty())
        buttons.append({box.addButton(MessageDlgButtonText("stOK", "OK"), QMessageBox::AcceptRole), mrOk});
    box.exec();
    for (const auto& [button, result] : buttons)
        if (box.clickedButton() == button) return result;
    return mrCancel;
}

}  // namespace

QString MessageDlgCaptionOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning: return TranslateString(QStringLiteral("stOstrzezenie"), QStringLiteral("Ostrzeżenie"));
    case TMsgDlgType::mtError: return TranslateString(QStringLiteral("stBlad"), QStringLiteral("Błąd"));
    case TMsgDlgType::mtConfirmation: return TranslateString(QStringLiteral("stPotwierdz"), QStringLiteral("Potwierdź"));
    case TMsgDlgType::mtInformation: break;
    }
    return TranslateString(QStringLiteral("stInformacja"), QStringLiteral("Informacja"));
}

QString MessageDlgButtonText(const char* key, const char* builtIn) {
    return TranslateString(QString::fromLatin1(key), QString::fromUtf8(builtIn));
}

int MessageDlgCaption(const QString& caption, const QString& text, TMsgDlgType type, unsigned buttons,
                      int helpContext) {
    MessageDlgRequest r{text, caption, type, buttons, helpContext};
    if (hook()) return hook()(r);
    return showBox(r);
}

int MessageDlg(const QString& text, TMsgDlgType type, unsigned buttons, int helpContext) {
    return MessageDlgCaption(MessageDlgCaptionOf(type), text, type, buttons, helpContext);
}

void ShowMessage(const QString& text) { MessageDlg(text, TMsgDlgType::mtInformation, mbOK); }

void setMessageDlgHook(MessageDlgHook h) { hook() = std::move(h); }

std::optional<int> AnswerByMessageDlgHook(const MessageDlgRequest& request) {
    if (!hook()) return std::nullopt;
    return hook()(request);
}

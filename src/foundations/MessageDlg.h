#pragma once
// Message boxes of the program. Every message box goes through MessageDlg, so that a test can
// answer it (setMessageDlgHook) instead of a user; without a hook a modal QMessageBox is shown
// with the program's captions and buttons.
#include <QString>
#include <functional>
#include <optional>

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

// Buttons, combined with |.
enum TMsgDlgButton : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
};

// Results, as the Windows dialog results the callers compare with.
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

struct MessageDlgRequest {
    QString text;
    QString caption;  // "Informacja", "Ostrzeżenie", "Błąd" or "Potwierdź", or one the caller gave
    TMsgDlgType type = TMsgDlgType::mtInformation;
    unsigned buttons = mbOK;
    int helpContext = 0;
};

// Shows the box and returns the button pressed (mrCancel when the box is closed otherwise).
int MessageDlg(const QString& text, TMsgDlgType type, unsigned buttons, int helpContext = 0);
// The same with a caption of the caller's own.
int MessageDlgCaption(const QString& caption, const QString& text, TMsgDlgType type, unsigned buttons,
                      int helpContext = 0);
// A plain information box with an OK button.
void ShowMessage(const QString& text);

// Caption of a box of the given type, in the current language.
QString MessageDlgCaptionOf(TMsgDlgType type);
// Text of a box button by its message key ("stTak", "stNie", "stOK", "stAnuluj"), in the current
// language; builtIn is the Polish text.
QString MessageDlgButtonText(const char* key, const char* builtIn);

// A hook answers every box in place of the user (tests); an empty hook restores the real boxes.
using MessageDlgHook = std::function<int(const MessageDlgRequest&)>;
void setMessageDlgHook(MessageDlgHook hook);
// The hook's answer to a question that one of the program's own forms asks in place of a
// message box (the save question, the large-error warning), so that a test answers it as it
// answers the boxes; nullopt when no hook is set and the form itself is to be shown.
std::optional<int> AnswerByMessageDlgHook(const MessageDlgRequest& request);

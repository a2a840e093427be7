#pragma once
// The program's help window: the HTML pages of the help folder in a text browser with the
// contents, the index and back and forward. One window for the whole program; the "Pomoc"
// buttons, the help menu and F1 open it at their page.
#include <QWidget>

class QPushButton;
class QTextBrowser;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the page of a help context (the contents for 0 or a context without its own page).
    // False, and nothing shown, when the help files are missing.
    bool ShowContext(int context);

    void ButtonSpisTresciClick();
    void ButtonIndeksClick();

    QTextBrowser* HelpBrowser;
    QPushButton* ButtonSpisTresci;
    QPushButton* ButtonIndeks;
    QPushButton* ButtonWstecz;
    QPushButton* ButtonDalej;
    QPushButton* ButtonZamknij;

private:
    void showPage(const QString& path);
    void present();
    void updateTitle();
    QString baseTitle_;  // the window title in the language in use, before a page's title
};

// The one help window, made on first use and kept (with its history) until the program ends;
// null before. Closing it only hides it.
HelpWindow* OpenHelpWindow();
// Frees the help window at the end of the program.
void CloseHelpWindow();

// Opens the help at a context's page, or tells the inspector that help is not available when the
// help files are missing.
void ShowHelpContext(int context);
// The help's contents page (the help menu's "Spis treści i index").
void ShowHelpContents();

// A window whose help context follows what it shows (the main window: its open page).
class HelpContextSource {
public:
    virtual ~HelpContextSource() = default;
    virtual int CurrentHelpContext() const = 0;  // 0: none of its own
};

// F1 opens the help at the context of the focused window (the nearest "HelpContext" property
// or HelpContextSource up its parents), or at the contents. Installed once on the application.
void InstallContextHelpKey();

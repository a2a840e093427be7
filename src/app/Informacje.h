#pragma once
// "O programie": the product, its version and description, and the maker's web page.
#include <QUrl>
#include <functional>

#include "foundations/FR_Utils.h"

class QLabel;
class QPushButton;

inline constexpr const char* kProgramVersion = "1.0";

class Tinformacje : public TSSForm {
    Q_OBJECT
public:
    explicit Tinformacje(QWidget* parent = nullptr);

    // Opens the web page through the desktop's "open" action, with the busy cursor meanwhile.
    void LabelWWWClick();
    void FormShow() {}

    // In place of the desktop's "open" (tests); empty: QDesktopServices.
    static std::function<bool(const QUrl&)> OpenUrl;
    // The maker's web page behind the link; no address is known to the program, so the link is
    // hidden while this is empty.
    static QString MakerWebPage;

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Comments;
    QLabel* LabelWWW;
    QPushButton* OKButton;
};

// The about command: creates the box, shows it modally and releases it.
void ShowAboutBox(QWidget* parent = nullptr);

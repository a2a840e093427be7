#pragma once
// The program's help: HTML pages in one folder beside the program, one page per help context
// the windows name, plus the contents and the index. This layer only knows which file belongs to
// a context and whether the files are there; the help window shows them.
#include <QString>
#include <span>

namespace platform {

inline constexpr int kHelpContents = 0;  // the context of the contents page
// The main window's pages.
inline constexpr int kHelpMainWindow = 101;
inline constexpr int kHelpLiveReadout = 102;
inline constexpr int kHelpPositioning = 103;
inline constexpr int kHelpVelocity = 104;
inline constexpr int kHelpStraightness = 105;
inline constexpr int kHelpFlatness = 106;
inline constexpr int kHelpAngular = 107;
inline constexpr int kHelpVibration = 108;
inline constexpr int kHelpFilesAndReports = 110;
inline constexpr const char* kHelpContentsPage = "index.html";
inline constexpr const char* kHelpIndexPage = "skorowidz.html";
inline constexpr const char* kHelpFolderName = "help";

struct HelpTopic {
    int context;
    const char* page;  // file name inside the help folder
};

// Every help context the windows open, with its page.
std::span<const HelpTopic> HelpTopics();

// The page file name of a context; a context without a page of its own gets the contents page.
QString HelpPageOf(int context);

// The folder of the pages: "help" beside the executable, unless a test set another.
QString helpFolder();
void setHelpFolder(const QString& dir);  // empty: back to the folder beside the executable

// Full path of the page to show for a context: its own page, or the contents page when that
// page is missing. Empty when the help files are missing altogether (no contents page).
QString HelpPagePath(int context);
QString HelpIndexPath();  // the index page, or empty when it is missing

}  // namespace platform

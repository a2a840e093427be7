#include "platform/HelpFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace platform {

namespace {

constexpr HelpTopic kTopics[] = {
    {kHelpContents, kHelpContentsPage},
    {kHelpMainWindow, "okno_glowne.html"},
    {kHelpLiveReadout, "wyswietlacz.html"},
    {kHelpPositioning, "pomiar_pozycjonowania.html"},
    {kHelpVelocity, "pomiar_predkosci.html"},
    {kHelpStraightness, "pomiar_prostoliniowosci.html"},
    {kHelpFlatness, "mapa_plaskosci.html"},
    {kHelpAngular, "podzialy_katowe.html"},
    {kHelpVibration, "analiza_drgan.html"},
    {kHelpFilesAndReports, "pliki_i_raporty.html"},
    {109, "material.html"},
    {113, "konfiguracja.html"},
    {114, "konfiguracja_pozycjonowanie.html"},
    {115, "konfiguracja_predkosc_prostoliniowosc.html"},
    {116, "konfiguracja_mapa_podzialy.html"},
    {117, "konfiguracja_fft_meteo.html"},
    {118, "punkty_pozycjonowania.html"},
    {120, "parametry_wykresu.html"},
    {121, "dane_maszyny.html"},
    {122, "dlugosc_podstawki.html"},
    {123, "rejestracja.html"},
    {124, "skalowanie_osi.html"},
    {125, "wybor_osi.html"},
    {126, "justowanie.html"},
    {127, "prostopadlosc.html"},
    {133, "kalibracja_meteo.html"},
};

QString& folderOverride() {
    static QString f;
    return f;
}

QString existing(const QString& fileName) {
    const QString path = QDir(helpFolder()).filePath(fileName);
    return QFileInfo(path).isFile() ? path : QString();
}

}  // namespace

std::span<const HelpTopic> HelpTopics() { return kTopics; }

QString HelpPageOf(int context) {
    for (const HelpTopic& t : kTopics)
        if (t.context == context) return QString::fromLatin1(t.page);
    return QString::fromLatin1(kHelpContentsPage);
}

QString helpFolder() {
    if (!folderOverride().isEmpty()) return folderOverride();
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(kHelpFolderName));
}

void setHelpFolder(const QString& dir) { folderOverride() = dir; }

QString HelpPagePath(int context) {
    const QString contents = existing(QString::fromLatin1(kHelpContentsPage));
    if (contents.isEmpty()) return {};
    const QString own = existing(HelpPageOf(context));
    return own.isEmpty() ? contents : own;
}

QString HelpIndexPath() { return existing(QString::fromLatin1(kHelpIndexPage)); }

}  // namespace platform

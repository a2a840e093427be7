#include "app/LinkState.h"

#include "foundations/FR_Utils.h"
#include "foundations/ProgramMessages.h"

namespace app {

namespace {
QString tr(const char* key, const char* polish) { return TranslateString(QLatin1String(key), QString::fromUtf8(polish)); }
QString port(const LinkStateInput& in) { return QStringLiteral("COM%1").arg(in.comNumber); }
}  // namespace

QString LinkStateText(const LinkStateInput& in) {
    // Without its ports the card cannot be reached at all: say why, also while the start-up tries.
    if (in.cardLink && !in.cardPortsError.isEmpty()) return CardPortsMissingText(in.cardPortsError);
    if (in.startupRunning) return tr("stLaczenie", "Łączenie z interfejsem…");
    if (in.cardLink)
        return in.interfaceError ? tr("stKartaBlad", "Błąd interfejsu: karta pomiarowa nie odpowiada")
                                 : tr("stKartaOk", "Połączono z kartą pomiarową");
    if (!in.portOpen) return tr("stPortZamkniety", "Brak połączenia: nie można otworzyć portu %1").arg(port(in));
    if (in.interfaceError)
        return tr("stBrakGlowicy", "Brak głowicy na porcie %1 (%2 b/s)").arg(port(in)).arg(in.baud);
    return tr("stGlowicaOk", "Połączono z głowicą: %1, %2 b/s").arg(port(in)).arg(in.baud);
}

QString CardPortsMissingText(const QString& cause) {
    return FillPlaceholder(tr("stKartaBezPortow",
                              "Brak dostępu do portów karty pomiarowej (%s). Karta wymaga uprawnień do portów "
                              "wejścia-wyjścia: uruchom program jako root albo nadaj mu uprawnienie CAP_SYS_RAWIO "
                              "(setcap cap_sys_rawio+ep vkm30)."),
                           cause);
}

bool LinkStateIsFault(const LinkStateInput& in) {
    if (in.cardLink && !in.cardPortsError.isEmpty()) return true;
    return !in.startupRunning && (in.interfaceError || (!in.cardLink && !in.portOpen));
}

}  // namespace app

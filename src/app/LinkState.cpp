#include "app/LinkState.h"

#include "foundations/FR_Utils.h"

namespace app {

namespace {
QString tr(const char* key, const char* polish) { return TranslateString(QLatin1String(key), QString::fromUtf8(polish)); }
QString port(const LinkStateInput& in) { return QStringLiteral("COM%1").arg(in.comNumber); }
}  // namespace

QString LinkStateText(const LinkStateInput& in) {
    if (in.startupRunning) return tr("stLaczenie", "Łączenie z interfejsem…");
    if (in.cardLink)
        return in.interfaceError ? tr("stKartaBlad", "Błąd interfejsu: karta pomiarowa nie odpowiada")
                                 : tr("stKartaOk", "Połączono z kartą pomiarową");
    if (!in.portOpen) return tr("stPortZamkniety", "Brak połączenia: nie można otworzyć portu %1").arg(port(in));
    if (in.interfaceError)
        return tr("stBrakGlowicy", "Brak głowicy na porcie %1 (%2 b/s)").arg(port(in)).arg(in.baud);
    return tr("stGlowicaOk", "Połączono z głowicą: %1, %2 b/s").arg(port(in)).arg(in.baud);
}

bool LinkStateIsFault(const LinkStateInput& in) {
    return !in.startupRunning && (in.interfaceError || (!in.cardLink && !in.portOpen));
}

}  // namespace app

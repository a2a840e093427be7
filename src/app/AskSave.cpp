#include "app/AskSave.h"

#include "foundations/FR_Utils.h"
#include "foundations/MeasurementModes.h"

std::optional<SaveQuestionText> SaveQuestionFor(uint8_t measurementMode) {
    switch (measurementMode) {
    case 0: return SaveQuestionText{u"stZachPoz", u"Nie zachowane pozycjonowanie"};
    case 1: return SaveQuestionText{u"stZachPred", u"Nie zachowany wykres prędkości"};
    case 2: return SaveQuestionText{u"stZachProst", u"Nie zachowany wykres prostoliniowości"};
    case 3: return SaveQuestionText{u"stZachMapa", u"Nie zachowana mapa płaskości"};
    case 4: return SaveQuestionText{u"stZachPodzKatowe", u"Nie zachowane pozycjonowanie kątowe"};
    case 5: return SaveQuestionText{u"stZachFFT", u"Nie zachowana analiza FFT"};
    default: return std::nullopt;
    }
}

namespace {
bool savedFor(uint8_t mode, const SavedFlags& s) {
    if (mode == kModeVelocity) return s.velocity;
    if (mode == kModeFlatness) return s.flatness;
    return s.data;
}
}  // namespace

int AskSaveChangesRule(uint8_t measurementMode, const SavedFlags& saved,
                       const std::function<int(const QString&, const QString&, const QString&)>& ask) {
    const auto q = SaveQuestionFor(measurementMode);
    if (!q || savedFor(measurementMode, saved) || !ask) return 7;
    const int r = ask(TranslateString(QStringLiteral("stOstrzezenie"), QStringLiteral("Ostrzeżenie")),
                      TranslateString(QString::fromUtf16(q->key), QString::fromUtf16(q->text)),
                      TranslateString(QStringLiteral("stZachowac"), QStringLiteral("Zachować?")));
    return (r == 6 || r == 7) ? r : 2;
}

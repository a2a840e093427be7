#include "app/Unit_Komunikaty_placeholder.h"

TKomunikaty* Komunikaty = nullptr;

TKomunikaty::TKomunikaty(QWidget* parent) : TSSForm(parent) {
    setObjectName("Komunikaty");
    setWindowTitle(QStringLiteral("Komunikaty"));
    FinishCreate();
}

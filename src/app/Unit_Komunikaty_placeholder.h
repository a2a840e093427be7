#pragma once
// Stand-in for the link status window until it is built: a hidden form of the right name, so
// that start-up creates it in its place and a language change re-translates it.
#include "foundations/FR_Utils.h"

class TKomunikaty : public TSSForm {
    Q_OBJECT
public:
    explicit TKomunikaty(QWidget* parent = nullptr);
};

extern TKomunikaty* Komunikaty;

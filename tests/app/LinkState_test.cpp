// The main menu's link state line for each state of the link.
#include <gtest/gtest.h>

#include "app/LinkState.h"

namespace {

TEST(LinkState, EachStateHasItsLineAndFaultsAreMarked) {
    using app::LinkStateInput;
    struct Case {
        LinkStateInput in;
        const char* text;
        bool fault;
    };
    const Case cases[] = {
        {{false, true, false, false, 1, 9600}, "Łączenie z interfejsem…", false},
        {{false, false, false, false, 3, 9600}, "Brak połączenia: nie można otworzyć portu COM3", true},
        {{false, false, true, true, 1, 9600}, "Brak głowicy na porcie COM1 (9600 b/s)", true},
        {{false, false, true, false, 2, 115200}, "Połączono z głowicą: COM2, 115200 b/s", false},
        {{true, false, false, true, 1, 9600}, "Błąd interfejsu: karta pomiarowa nie odpowiada", true},
        {{true, false, false, false, 1, 9600}, "Połączono z kartą pomiarową", false},
        // The card's ports could not be opened: the cause and the remedy, during the start-up too.
        {{true, true, false, true, 1, 9600, "ioperm: Operation not permitted"},
         "Brak dostępu do portów karty pomiarowej (ioperm: Operation not permitted). Karta wymaga uprawnień "
         "do portów wejścia-wyjścia: uruchom program jako root albo nadaj mu uprawnienie CAP_SYS_RAWIO "
         "(setcap cap_sys_rawio+ep vkm30).",
         true},
        // A cause left over from the card says nothing on the serial link.
        {{false, false, true, false, 2, 115200, "ioperm: Operation not permitted"},
         "Połączono z głowicą: COM2, 115200 b/s", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(app::LinkStateText(c.in).toStdString(), c.text);
        EXPECT_EQ(app::LinkStateIsFault(c.in), c.fault) << c.text;
    }
}

}  // namespace

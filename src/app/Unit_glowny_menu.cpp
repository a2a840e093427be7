// The main menu: its commands with their Tags, and showing, hiding, enabling and disabling them
// by Tag as the measurement modes switch.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/Unit_glowny.h"

namespace {

// Commands that carry a check mark.
const char* const kCheckable[] = {
    "PunktyZListy", "Puntyautomatycznie1", "ReczneZaliczeniePunktu", "ReczneZaliczeniePunktuPK",
    "StopPoKazdymCyklu1", "KorekcjaWartosciZadanej", "Automatyczny1", "MenuItemWartosczadana",
    "MenuItemTabelkaOdchylek", "WszyskieCykle1", "MenuItemKatCalkowity", "MenuItemTabelkaOdchylekPK",
    "Widok3D1",
};

}  // namespace

const std::vector<MenuTagEntry>& MainMenuTagTable() {
    static const std::vector<MenuTagEntry> table = {
        // top-level commands, in menu bar order
        {26, "Plik1", "&Plik", ""},
        {15, "Edycja1", "&Edycja", ""},
        {11, "Pomiar1", "P&omiar", ""},
        {21, "PomiarProstoliniowosc", "P&omiar", ""},
        {27, "MenuItemWidok", "&Widok", ""},
        {23, "Pomoc1", "Pomo&c", ""},
        // Plik
        {1, "Otworz1", "&Otwórz", "Plik1"},
        {2, "Zapisz1", "&Zapisz", "Plik1"},
        {3, "Zapiszjako1", "Zapisz jako", "Plik1"},
        {6, "ImportDanych", "&Import", "Plik1"},
        {42, "Eksport1", "&Eksport", "Plik1"},
        {28, "TabelaKompensacji1", "&Tabela kompensacji", "Plik1"},
        {4, "Drukuj1", "&Drukuj", "Plik1"},
        {5, "Podgladwydruku1", "Podgląd wydruku", "Plik1"},
        {33, "File01", "&1", "Plik1"},
        {34, "File11", "&2", "Plik1"},
        {35, "File21", "&3", "Plik1"},
        {36, "File31", "&4", "Plik1"},
        {7, "Koniec1", "&Koniec", "Plik1"},
        // Edycja
        {8, "Danemaszyny1", "Dane maszyny", "Edycja1"},
        {9, "TabelaPomiarow", "Tabela Pomiarów", "Edycja1"},
        {10, "PunktyPozycjonowania1", "Punkty Pozycjonowania", "Edycja1"},
        {19, "Puntyautomatycznie1", "Punkty generowane automatycznie", "Edycja1"},
        {19, "PunktyZListy", "Punkty z listy", "Edycja1"},
        {13, "Dlugoscpodstawki", "Długość podstawki", "Edycja1"},
        {14, "Konfiguracja1", "&Konfiguracja", "Edycja1"},
        // Pomiar (positioning, velocity, angular)
        {16, "Start1", "Start", "Pomiar1"},
        {12, "Stop1", "Stop", "Pomiar1"},
        {18, "ReczneZaliczeniePunktu", "Ręczne zaliczenie punktu", "Pomiar1"},
        {41, "ReczneZaliczeniePunktuPK", "Ręczne zaliczenie punktu", "Pomiar1"},
        {20, "StopPoKazdymCyklu1", "Stop po każdym cyklu", "Pomiar1"},
        {43, "KorekcjaWartosciZadanej", "Korekcja wartości zadanej", "Pomiar1"},
        {38, "UstawSilnik1", "Ustaw odbłyśnik", "Pomiar1"},
        // Pomiar (straightness and flatness lines)
        {22, "Automatyczny1", "&Automatyczny", "PomiarProstoliniowosc"},
        {32, "NastepnaOs1", "&Następna oś", "PomiarProstoliniowosc"},
        {37, "Prostopadlosc", "Prostopadłość", "PomiarProstoliniowosc"},
        {44, "Widok3D1", "Widok 3D", "PomiarProstoliniowosc"},
        // Widok
        {29, "MenuItemWartosczadana", "&Wartość zadana", "MenuItemWidok"},
        {30, "MenuItemTabelkaOdchylek", "&Tabelka odchyłek", "MenuItemWidok"},
        {31, "WszyskieCykle1", "Wszystkie &cykle", "MenuItemWidok"},
        {39, "MenuItemKatCalkowity", "&Kąt całkowity", "MenuItemWidok"},
        {40, "MenuItemTabelkaOdchylekPK", "&Tabelka odchyłek", "MenuItemWidok"},
        // Pomoc
        {24, "Spistreciiindex1", "&Spis treści i index", "Pomoc1"},
        {25, "Oprogramie1", "&O programie", "Pomoc1"},
    };
    return table;
}

int TMainForm::TagOf(const QAction* a) { return a ? a->property("Tag").toInt() : 0; }

void TMainForm::BuildMainMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    auto topLevel = [&](const QString& name, const QString& caption, int tag) {
        QMenu* m = bar->addMenu(caption);
        m->menuAction()->setObjectName(name);
        m->menuAction()->setProperty("Tag", tag);
        m->menuAction()->setVisible(false);  // each page shows the menus it uses
        return m;
    };
    for (const MenuTagEntry& e : MainMenuTagTable()) {
        if (*e.parent) {
            QMenu* m = MenuOf(QString::fromLatin1(e.parent));
            const QString name = QString::fromLatin1(e.name);
            // Group separators inside the file menu.
            if (name == u"ImportDanych" || name == u"Drukuj1" || name == u"File01" || name == u"Koniec1")
                m->addSeparator();
            if (name == u"Koniec1") {
                Jezyk1 = m->addMenu(QStringLiteral("&Język"));
                Jezyk1->menuAction()->setObjectName("Jezyk1");
                m->addSeparator();
            }
            QAction* a = m->addAction(QString::fromUtf8(e.caption));
            a->setObjectName(name);
            a->setProperty("Tag", e.tag);
            for (const char* c : kCheckable)
                if (name == QLatin1String(c)) a->setCheckable(true);
            if (name.startsWith(u"File") && name.size() == 6) a->setVisible(false);  // recent files: none yet
        } else {
            topLevel(QString::fromLatin1(e.name), QString::fromUtf8(e.caption), e.tag);
        }
    }
    // The service menus carry no Tag: only the service panel shows them.
    topLevel("Opcje1", QStringLiteral("Opcje"), 0);
    topLevel("Funkcje1", QStringLiteral("Funkcje"), 0);

    connect(MenuCommand("Koniec1"), &QAction::triggered, this, &TMainForm::DisconnectAndClose);

    // Pop-up menus of the positioning and angular charts (their first items mark the bottom axis).
    PopupMenuWykres = new QMenu(this);
    PopupMenuWykres->setObjectName("PopupMenuWykres");
    // The positioning chart's x-axis choice is one command ("Oś &X"), off while a run lasts.
    QMenu* xAxis = PopupMenuWykres->addMenu(QStringLiteral("Oś &X"));
    xAxis->setObjectName("MenuOsX");  // the language file sets its title, which its command shows
    MenuOsX = xAxis->menuAction();
    MenuOsX->setObjectName("MenuOsX");
    Numerpunktu1 = xAxis->addAction(QStringLiteral("Numer punktu"));
    Numerpunktu1->setObjectName("Numerpunktu1");
    Dystans1 = xAxis->addAction(QStringLiteral("Dystans"));
    Dystans1->setObjectName("Dystans1");
    PopupMenuPK = new QMenu(this);
    PopupMenuPK->setObjectName("PopupMenuPK");
    Numerpunktu2 = PopupMenuPK->addAction(QStringLiteral("Numer punktu"));
    Numerpunktu2->setObjectName("Numerpunktu2");
    Kat1 = PopupMenuPK->addAction(QStringLiteral("&Kąt"));
    Kat1->setObjectName("Kat1");
    for (QAction* a : {Numerpunktu1, Dystans1, Numerpunktu2, Kat1}) a->setCheckable(true);
    Numerpunktu1->setChecked(true);
    Numerpunktu2->setChecked(true);
}

QMenu* TMainForm::MenuOf(const QString& name) const {
    for (QAction* a : menuBar()->actions())
        if (a->objectName() == name) return a->menu();
    return nullptr;
}

QAction* TMainForm::MenuCommand(const QString& name) const {
    for (QAction* top : menuBar()->actions()) {
        if (top->objectName() == name) return top;
        if (!top->menu()) continue;
        for (QAction* a : top->menu()->actions()) {
            if (a->objectName() == name) return a;
            // a submenu (the language menu) is a command with an action of its own
        }
    }
    // The charts' pop-up commands are commands of the window too.
    for (const QMenu* popup : {PopupMenuWykres, PopupMenuPK, PopupMenuPredkosc}) {
        if (!popup) continue;
        for (QAction* a : popup->actions()) {
            if (a->objectName() == name) return a;
            if (const QMenu* sub = a->menu())
                for (QAction* s : sub->actions())
                    if (s->objectName() == name) return s;
        }
    }
    return nullptr;
}

void TMainForm::EnableMenuItemsByTag(const TTagSet& tags, bool flag) {
    // One level below the top-level commands; the top-level commands stay as they are.
    for (QAction* top : menuBar()->actions()) {
        if (!top->menu()) continue;
        for (QAction* a : top->menu()->actions()) {
            if (a->isSeparator()) continue;
            const int tag = TagOf(a);
            if (tag >= 0 && tag < 256 && tags.test(size_t(tag))) a->setEnabled(flag);
        }
    }
}

void TMainForm::ShowMenuItemsByTag(const TTagSet& tags, bool flag) {
    auto inSet = [&](const QAction* a) {
        const int tag = TagOf(a);
        return tag >= 0 && tag < 256 && tags.test(size_t(tag));
    };
    for (QAction* top : menuBar()->actions()) {
        if (inSet(top)) top->setVisible(flag);
        if (!top->menu()) continue;
        for (QAction* a : top->menu()->actions())
            if (!a->isSeparator() && inSet(a)) a->setVisible(flag);
    }
}

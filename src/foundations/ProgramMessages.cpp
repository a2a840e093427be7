#include "foundations/ProgramMessages.h"

#include <QHash>
#include <algorithm>
#include <vector>

#include "foundations/FR_Utils.h"

namespace {

struct Entry {
    const char16_t* key;
    const char16_t* text;
};

// Built-in Polish texts. "\r" is the line break of a message box; "%d" is filled at the call
// site. Spacing and "&" marks are part of the texts.
const Entry kMessages[] = {
    {u"stWykresCzas", u"Wykres czasowy"},
    {u"stWykresCzy", u"Wykres częstotliwościowy"},
    {u"stLiniowa", u"Liniowa"},
    {u"stPielgrzym", u"Pielgrzym"},
    {u"stPielgrzym2", u"Pielgrzym 2"},
    {u"stZaMalyZeman", u"Za mała częstotliwość Zeemana"},
    {u"stNieMoznaOtworzyc", u"Nie można otworzyć portu szeregowego. Sprawdź ustawienia."},
    {u"stPotwierdz", u"Potwierdź"},
    {u"stPomiar", u"Pomiar"},
    {u"stLiczbaPomiarow", u"Liczba pomiarów punktu"},
    {u"stLiczbaPunktow", u"Liczba punktów"},
    {u"stMetoda2OS", u"3 D"},
    {u"stOsPionowa", u"Oś pionowa"},
    {u"stOsPozioma", u"Oś pozioma"},
    {u"stMaszyna", u"Maszyna"},
    {u"stBrakFoto", u"Nie można załadować FOTO.DLL"},
    {u"stWykCom", u"Wykryto Vkm30 na Com"},
    {u"stNWykCom", u"Nie wykryto Vkm30"},
    {u"stSprPol", u"Sprawdź poprawność połączeń"},
    {u"stJedno", u"Jednokierunkowy"},
    {u"stDwu", u"Dwukierunkowy"},
    {u"stCzekajOdb", u"Czekaj na powrót odbłyśnika"},
    {u"stPrzyspieszenie", u"Przyspieszenie"},
    {u"stAmplituda", u"Amplituda"},
    {u"stFaza", u"Faza"},
    {u"stCzescRze", u"Część rzeczywista"},
    {u"stCzescUro", u"Część urojona"},
    {u"stCzest", u"Częstotliwość"},
    {u"stCoDrukowac", u"Wybierz wykres, który chcesz drukować"},
    {u"stCoEksportowac", u"Wybierz wykres, który chcesz eksportować"},
    {u"stCoDrukowac1", u"Co drukować?"},
    {u"stCoEksportowac1", u"Co eksportować?"},
    {u"stZmianaInfo", u"Czy chcesz zmienić informacje o maszynie?"},
    {u"stRozdzielczosc", u"Rozdzielczość"},
    {u"stZmRozdziel", u"Zmniejsz rozdzielczość"},
    {u"stLiniowe", u"Liniowe"},
    {u"stCzasOczekiwania", u"Czas oczekiwania"},
    {u"stPolWyl", u"Połączenie przerwane lub wyłączony zasilacz interferometru !!!"},
    {u"stWollaston", u"Wollaston"},
    {u"stMetodaKatowa", u"Metoda kątowa"},
    {u"stMetodaUchylen", u"Metoda uchyleń"},
    {u"stDlgPodstawki", u"Długość podstawki"},
    {u"stOdstepPunkt", u"Odstęp miądzy punktami"},
    {u"stMPK", u"Metoda punktów końcowych"},
    {u"stMNK", u"Metoda najmniejszych kwadratów"},
    {u"stBrak", u"Brak"},
    {u"stMenuGlowne", u"&Główne Menu"},
    {u"stLewo", u"Lewo"},
    {u"stPrawo", u"Prawo"},
    {u"stKierunekObrotu", u"Kierunek obrotu"},
    {u"stWykresPozPK", u"Pozycjonowanie kątowe"},
    {u"stWUstawSilnik", u"Wstępne ustawienie odbłyśnika"},
    {u"stWykonajObrot", u"Wykonaj Obrót"},
    {u"stDuzaPred", u"Za duża prędkość !"},
    {u"stIntZozju", u"Interferometr rozjustowany."},
    {u"stSprawdzUO", u"Sprawdź układ optyczny."},
    {u"stZaliczPunkt", u"Zalicz punkt"},
    {u"stKoniecPomiaru", u"Czy na pewno chcesz przerwać pomiar?"},
    {u"stStal", u"Stal"},
    {u"stBezKomp", u"Użytkownika"},
    {u"stWykresPred", u"Wykres prędkości"},
    {u"stCzas", u"Czas"},
    {u"stWykresPlaskosci", u"Mapa płaskości"},
    {u"stParametr", u"Parametr"},
    {u"stWartosc", u"Wartość"},
    {u"stPrzesun", u"Przesuń odbłyśnik"},
    {u"stDoPunktu", u"do punktu %d lub zakończ - STOP."},
    {u"stPunktZaliczony", u"Punkt %d zaliczony."},
    {u"stWrocDoStartu", u"Odjedź i wróć do punktu startowego (%s), aby zakończyć cykl."},
    {u"stPomZapis", u"Pomiary nie zapisane!! Czy chcesz je zapisać?"},
    {u"stDwukierunkowa", u"dwukierunkowa"},
    {u"stCalkowita", u"całkowita"},
    {u"stLuz", u"Luz zwrotny:"},
    {u"stBlabPow", u"Błąd powrotu:"},
    {u"stSredni", u"średni"},
    {u"stMax", u"maksymalny"},
    {u"stSrednia", u"Średnia"},
    {u"stGlowWyl", u"Głowica wyłączona."},
    {u"stOdlGlow", u"Odłączenie głowicy."},
    {u"stWygrzewanie", u"Wygrzewanie głowicy laserowej."},
    {u"stConnectionError", u"Przerwane połączenie interfejs-komputer !!!"},
    {u"stPrzerwTrans", u"Przerwana transmisja."},
    {u"stPrzereWiaz", u"Przerwana wiązka."},
    {u"stPowPomiar", u"Powtórz pomiar."},
    {u"stWolnaTrans", u"Za wolna transmisja!!!"},
    {u"stBladStab", u"Błąd stabilizacji !!!"},
    {u"stZachPoz", u"Nie zachowane pozycjonowanie"},
    {u"stZachProst", u"Nie zachowany wykres prostoliniowości"},
    {u"stZachMapa", u"Nie zachowana mapa płaskości"},
    {u"stZachPodzKatowe", u"Nie zachowane pozycjonowanie kątowe"},
    {u"stZachFFT", u"Nie zachowana analiza FFT"},
    {u"stZachowac", u"Zachować?"},
    {u"stOstrzezenie", u"Ostrzeżenie"},
    {u"stPredkosci", u"Prędkości"},
    {u"stCzasu", u"Czasu"},
    {u"stZalAuto", u"Zaliczanie automatyczne"},
    {u"stPunktyAuto", u"Punkty automatycznie"},
    {u"stLiczbaCykli", u"Liczba cykli w serii:"},
    {u"stDokladnosc", u"Dokładność:"},
    {u"stPowtarzalnosc", u"Powtarzalność:"},
    {u"stWProzd", u"w przód"},
    {u"stWTyl", u"w tył"},
    {u"stRoznePunkty", u"Różne ilości punktów dla poszególnych cykli!"},
    {u"stCykl", u"Cykl"},
    {u"stPomiarProsto", u"Pomiar Prostoliniowości"},
    {u"stWykresProsto", u"Wykres prostoliniowości"},
    {u"stBladProsto", u"Odchyłka Prostoliniowości"},
    {u"stNr", u"Nr"},
    {u"stPunkt", u"Punkt"},
    {u"stNowy", u"Nowy"},
    {u"stDelAll", u"Czy napewno chcesz usunąć wszystkie punkty?"},
    {u"stPlikiPunkty", u"Punkty pozycjonowania"},
    {u"stPlikiPunktyPK", u"Punkty pozycjonowania kątowego"},
    {u"stZaMaloPunktow", u"Za mało punktów pomiarowych."},
    {u"stMapaPlaskosci", u"&Wykres Mapy Płaskości"},
    {u"stBrakInfo", u"Brak informacji o maszynie\rCzy chcesz je podać?"},
    {u"stMapaOs", u"Mapa płaskości - oś"},
    {u"stZachPred", u"Nie zachowany wykres prędkości"},
    {u"stBarkKarty", u"Brak zainstalowanej karty pomiarowej."},
    {u"stBrakInterfejs", u"Odłączony interfejs pomiarowy."},
    {u"stBrakKalibracji", u"Brak lub uszkodzony plik kalibracji stacji meteo - Kalibracja.dat\rStacja meteo nie będzie działać !!!"},
    {u"stTrwaPomiar", u"        Trwa Pomiar!!!!   "},
    {u"stBlad", u"Błąd"},
    {u"stNrPunktu", u"Numer punktu"},
    {u"stOdleglosc", u"Odległość"},
    {u"stWykresPoz", u"Pozycjonowanie"},
    {u"stWykresRap", u"Wykres Pozycjonowania"},
    {u"stDystans", u"Dystans"},
    {u"stPredkosc", u"Prędkość"},
    {u"stKat", u"Kąt"},
    {u"stOs", u"Oś"},
    {u"stZaMaloCykli", u"Za mało cykli w serii lub za mało punktów pomiarowych, aby wykonać raport !"},
    {u"stZakoncz", u"    Najpierw zakończ pomiar!!!!   "},
    {u"stUsunac", u"Czy napewno chcesz usunąć cykl"},
    {u"StCapPred", u"Prędkość"},
    {u"StCapProsto", u"Prostoliniowość"},
    {u"StCapMapa", u"Mapa Płaskości"},
    {u"stCapWysw", u"Wyświetlacz"},
    {u"stCapMenu", u"Menu Główne"},
    {u"stCapPodzKat", u"Podziały Kątowe"},
    {u"stCapFFT", u"Analiza częstotliwościowa"},
    {u"stPlikiPoz", u"Pliki pozycjonowania"},
    {u"stPlikiPred", u"Pliki prędkości"},
    {u"stPlikiProsto", u"Pliki prostoliniowości"},
    {u"stPlikiMapa", u"Pliki mapy płaskości"},
    {u"stPlikiPodzKat", u"Pliki pozycjonowania kątowego"},
    {u"stPlikiFFT", u"Pliki analizy częstotliwościowej"},
    {u"stAllFiles", u"Wszystkie pliki"},
    {u"stTextFiles", u"Pliki tekstowe"},
    {u"stLaserOff", u"Głowica wyłączona"},
    {u"stCap", u"Veldrasta"},
    {u"StCapPoz", u"Pozycjonowanie Liniowe"},
};

const QHash<QString, QString>& table() {
    static const QHash<QString, QString> t = [] {
        QHash<QString, QString> h;
        for (const Entry& e : kMessages) h.insert(QString::fromUtf16(e.key).toLower(), QString::fromUtf16(e.text));
        return h;
    }();
    return t;
}

}  // namespace

QString BuiltInMessage(const QString& key) { return table().value(key.toLower()); }

QStringList BuiltInMessageKeys() {
    QStringList keys;
    for (const Entry& e : kMessages) keys << QString::fromUtf16(e.key);
    return keys;
}

QString Msg(const QString& key) { return TranslateString(key, BuiltInMessage(key)); }

QString FillPlaceholder(const QString& text, const QString& value) {
    for (int i = text.indexOf(u'%'); i >= 0 && i + 1 < text.size(); i = text.indexOf(u'%', i + 1)) {
        const QChar c = text[i + 1];
        if (c == u'd' || c == u's') return text.left(i) + value + text.mid(i + 2);
    }
    return text;
}

MessageTexts CurrentMessageTexts() {
    MessageTexts out;
    for (const Entry& e : kMessages) {
        const QString key = QString::fromUtf16(e.key);
        out.push_back({key, TranslateString(key, QString::fromUtf16(e.text))});
    }
    return out;
}

namespace {

bool wordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

}  // namespace

QString RetranslateText(const QString& text, const MessageTexts& before, const MessageTexts& after) {
    if (text.isEmpty()) return text;
    QHash<QString, QString> now;
    for (const MessageText& m : after) now.insert(m.key.toLower(), m.text);
    struct Pair {
        QString from, to;
    };
    std::vector<Pair> pairs;
    for (const MessageText& m : before) {
        const QString from = m.text.trimmed();
        const auto it = now.constFind(m.key.toLower());
        if (it == now.constEnd() || from.size() < 2 || from.contains(u'%')) continue;
        const QString to = it->trimmed();
        if (to == from || to.isEmpty() || to.contains(u'%')) continue;
        pairs.push_back({from, to});
        // A heading such as "Luz zwrotny:" also names a legend entry without its colon.
        if (from.endsWith(u':') && to.endsWith(u':') && from.size() > 2)
            pairs.push_back({from.chopped(1).trimmed(), to.chopped(1).trimmed()});
    }
    // The longest first, so "Pozycjonowanie Liniowe" goes whole before "Pozycjonowanie" could.
    std::stable_sort(pairs.begin(), pairs.end(), [](const Pair& a, const Pair& b) { return a.from.size() > b.from.size(); });
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        const Pair* hit = nullptr;
        for (const Pair& p : pairs) {
            if (!QStringView(text).mid(i).startsWith(p.from)) continue;
            const qsizetype end = i + p.from.size();
            const bool openLeft = i == 0 || !wordChar(text[i - 1]) || !wordChar(p.from.front());
            const bool openRight = end >= text.size() || !wordChar(text[end]) || !wordChar(p.from.back());
            if (openLeft && openRight) {
                hit = &p;
                break;
            }
        }
        if (hit) {
            out += hit->to;
            i += hit->from.size();
        } else {
            out += text[i];
            ++i;
        }
    }
    return out;
}

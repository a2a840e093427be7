#include "app/ServicePanel.h"

namespace service {

const std::array<FlagBit, 8>& CardFlagBits() {
    static const std::array<FlagBit, 8> bits = {{
        {"EMPTY FIFO", false},
        {"READY ", true},
        {"CPU WARNING", false},
        {"REQ FLAG K1", false},
        {"DATA ERROR", false},
        {"MEA LEVEL OK", true},
        {"FULL FIFO", false},
        {"REQ FLAG K0", false},
    }};
    return bits;
}

const std::array<FlagBit, 8>& SerialFlagBits() {
    static const std::array<FlagBit, 8> bits = {{
        {"READY", true},
        {"CPU WARNING", true},
        {"FULL", false},
        {"MEA LEVEL OK", true},
        {"DATA ERROR", false},
        {"METEO ON", true},
        {"SYNCHRO", false},
        {"SYNCHRO", false},
    }};
    return bits;
}

QString FlagBitText(bool set, bool activeHigh) {
    const bool asserted = set == activeHigh;
    return QString(asserted ? u'1' : u'0') + QStringLiteral("   ") + QString(set ? u'H' : u'L');
}

std::array<QString, 8> FlagTexts(uint8_t status, const std::array<FlagBit, 8>& bits) {
    std::array<QString, 8> out;
    for (int b = 0; b < 8; ++b) out[size_t(b)] = FlagBitText((status >> b) & 1, bits[size_t(b)].activeHigh);
    return out;
}

std::array<bool, 8> CardBlinkingBits(uint8_t status) {
    std::array<bool, 8> out{};
    // Bits 6, 4 and 2 are active low: a clear bit shows "1   L". Bit 1 clear shows "0   L".
    for (int b : {6, 4, 2, 1}) out[size_t(b)] = ((status >> b) & 1) == 0;
    return out;
}

uint32_t FlagTitleColour(bool servicePageShown, uint32_t current) {
    if (!servicePageShown) return kBlue;
    return current == kBlue ? kFuchsia : kBlue;
}

const std::vector<CommandButton>& CommandButtons() {
    static const std::vector<CommandButton> table = {
        {"PSStartFifo", "Start Fifo - D", 'S'},
        {"PSButton9", "Stop Fifo", 'T'},
        {"PSResetFifo", "Reset Fifo", 'R'},
        {"PSButton16", "1 Mhz", 'd'},
        {"PSButton17", "L/2", 'e'},
        {"PSButton18", "L/4", 'f'},
        {"PSButton40", "Meteo ON", 0x80},
        {"PSButton44", "Reaguj na Level ", ':'},
        {"PSButton45", "Ignoruj Level", ';'},
        {"PSButton32", "Włącz_XY", 'X'},
        {"PSButton30", "Wyłącz_XY", 'Y'},
        {"bDymaicXYOn", "DymaicXY_Wł", 'Z'},
        {"bDymaicXYOff", "DymaicXY_Wył", '['},
        {"bRejOff", "RejOff", '!'},
    };
    return table;
}

QString SentText(int value) { return QStringLiteral("Wysłano: ") + QString::number(value); }

QString PortReadText(const QString& prefix, uint8_t value) { return prefix + QString::number(value); }

QString CardBiosTestText(uint8_t high, uint8_t low) {
    return high == 22 && low == '!' ? QStringLiteral("Bios OK") : QStringLiteral("Bios bad");
}

QString CardProgramTestText(uint8_t high, uint8_t low) {
    return high == 30 && low == 20 ? QStringLiteral("Test link OK") : QStringLiteral("Test link - Bad");
}

const std::array<const char*, 6>& MeteoNameLabels() {
    static const std::array<const char*, 6> names = {"PSLabel9",  "PSLabel32", "PSLabel33",
                                                     "PSLabel34", "PSLabel35", "PSLabel31"};
    return names;
}

const std::array<const char*, 6>& MeteoRawLabels() {
    static const std::array<const char*, 6> names = {"PSLabel38", "PSLabel39", "PSLabel40",
                                                     "PSLabel41", "PSLabel37", "PSLabel36"};
    return names;
}

const std::array<const char*, 6>& MeteoValueLabels() {
    static const std::array<const char*, 6> names = {"PSLabel51", "PSLabel52", "PSLabel53",
                                                     "PSLabel54", "PSLabel55", "PSLabel56"};
    return names;
}

KeySequenceMatcher::Result KeySequenceMatcher::Feed(QChar key) {
    ++KeyCount;
    const int i = KeyCount - 1;
    const bool matches = i < 8 && (key == QLatin1Char(kServiceSequence[i]) || key == QLatin1Char(kCalibrationSequence[i]));
    if (!matches) {
        KeyCount = 0;
        KeyBuffer.clear();
        return Result::None;
    }
    KeyBuffer += key;
    if (KeyBuffer == QLatin1String(kServiceSequence)) {
        KeyCount = 0;
        KeyBuffer.clear();
        return Result::Service;
    }
    if (KeyBuffer == QLatin1String(kCalibrationSequence)) {
        KeyCount = 0;
        KeyBuffer.clear();
        return Result::Calibration;
    }
    return Result::None;
}

}  // namespace service

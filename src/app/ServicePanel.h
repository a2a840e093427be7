#pragma once
// The plain rules of the service panel: the flag bits with their polarity texts and which of
// them blink, the one-byte command buttons, the card's test answers and port read texts, and
// the key sequences that open the panel and the calibration form. ServicePage applies them to
// its controls.
#include <QChar>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace service {

// One bit of a flag page: its name label's text and whether it is asserted when set.
struct FlagBit {
    const char* name;
    bool activeHigh;
};
// Bits 0..7 of the card status port 0x301 ("FLAGI FIFO") and of the head's status byte
// ("FLAGI RS").
const std::array<FlagBit, 8>& CardFlagBits();
const std::array<FlagBit, 8>& SerialFlagBits();

// The value label's text: a leading "1" always means asserted, the letter is the line level.
// Active high: "1   H" set, "0   L" clear; active low: "0   H" set, "1   L" clear.
QString FlagBitText(bool set, bool activeHigh);
// The eight texts of a status byte, bit 0 first.
std::array<QString, 8> FlagTexts(uint8_t status, const std::array<FlagBit, 8>& bits);

// The card's flags that blink (PSTimerMiganie) for this status byte, bit 0 first: "FULL FIFO",
// "DATA ERROR" and "CPU WARNING" asserted, "READY " missing.
std::array<bool, 8> CardBlinkingBits(uint8_t status);

// Colours as the form library writes them (0x00BBGGRR).
constexpr uint32_t kBlue = 0xFF0000, kFuchsia = 0xFF00FF, kRed = 0x0000FF, kTeal = 0x808000;
// The flag page's title at each flag display: blue away from the service page; on it, blue and
// fuchsia by turns.
uint32_t FlagTitleColour(bool servicePageShown, uint32_t current);

// A button that sends one command byte and nothing else.
struct CommandButton {
    const char* name;
    const char* caption;
    uint8_t command;
};
// "Start Fifo - D", "Stop Fifo", "Reset Fifo", "1 Mhz", "L/2", "L/4", "Meteo ON", the level
// reaction, the two-axis and dynamic two-axis switches and "RejOff" ("RejOn" also awaits a reply
// and is not in this table).
const std::vector<CommandButton>& CommandButtons();

// "Wyślij K0": the status bar text after the spin edit's value went out.
QString SentText(int value);
// A card port read: "FIFO - ", "K1 - " or "K0 - " and the port's value in decimal.
QString PortReadText(const QString& prefix, uint8_t value);
// Card answers on 0x302 (high) and 0x303 (low) 90 ms after the test byte.
QString CardBiosTestText(uint8_t high, uint8_t low);     // 'T': 22 and '!'
QString CardProgramTestText(uint8_t high, uint8_t low);  // 0x88: 30 and 20

// The six environment name labels of the panel, in channel order (air, material 1-3,
// humidity, pressure), the card's raw value labels and the converted value labels.
const std::array<const char*, 6>& MeteoNameLabels();
const std::array<const char*, 6>& MeteoRawLabels();
const std::array<const char*, 6>& MeteoValueLabels();

// The key sequences typed anywhere on the main window: one count and one buffer serve both. A
// key that is the next digit of either sequence joins the buffer; any other key empties both and
// is not itself counted, so after a wrong key a sequence is typed again from its first digit
// ("440716253" opens nothing). Beyond the eighth key nothing matches.
class KeySequenceMatcher {
public:
    static constexpr const char* kServiceSequence = "40716253";
    static constexpr const char* kCalibrationSequence = "51938027";
    enum class Result { None, Service, Calibration };
    Result Feed(QChar key);

private:
    uint8_t KeyCount = 0;
    QString KeyBuffer;
};

}  // namespace service

#pragma once
// The save question asked before a measurement's data are discarded (leaving a page, opening a
// file, a new run): which mode asks, with which text, and what the answer means.
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// Saved flags of the measurement kinds.
struct SavedFlags {
    bool data = true;      // DataSaved: positioning, straightness, angular, vibration
    bool velocity = true;  // VelocityDataSaved
    bool flatness = true;  // FlatnessDataSaved
};

// Message key and built-in text of the question for a mode; nullopt for modes without data of
// their own (the live readout and above).
struct SaveQuestionText {
    const char16_t* key;
    const char16_t* text;
};
std::optional<SaveQuestionText> SaveQuestionFor(uint8_t measurementMode);

// The answer: 2 Cancel, 6 Yes (save), 7 No (discard). `ask` shows the question (caption, the
// mode's message, "Zachować?") and returns the form's result; it is called only when the mode's
// data are not saved. Any answer other than Yes or No (the form closed) counts as Cancel, so
// nothing is discarded unasked.
int AskSaveChangesRule(
    uint8_t measurementMode, const SavedFlags& saved,
    const std::function<int(const QString& caption, const QString& line1, const QString& line2)>& ask);

#pragma once
// Text imports of measurements written by other software: a positioning run (".dta"), a
// straightness line (".lda") and a flatness map of eight lines (".fda").
#include <QByteArray>
#include <QString>
#include <optional>
#include <stdexcept>

#include "evaluation/MeasurementHeader.h"
#include "foundations/PomiarCol.h"

// A malformed number or an end of file where more was expected.
struct TextFormatError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads 8-bit text the way the importers' files were written to be read: numbers skip blanks
// and line ends and end at the next blank; text fields stop at the end of the line.
class PascalTextReader {
public:
    explicit PascalTextReader(QByteArray bytes) : b_(std::move(bytes)) {}
    bool AtEof() const { return pos_ >= b_.size(); }
    // The next character (line ends included); TextFormatError at the end of the file.
    char ReadChar();
    // Up to `capacity` characters of the current line (code page 1250); the line end stays.
    QString ReadString(int capacity);
    // A real with "." as separator: optional sign, digits, optional fraction and exponent.
    double ReadReal();
    int32_t ReadInteger();
    // Skips the rest of the line and its end.
    void ReadLn();

private:
    QByteArray nextToken();
    QByteArray b_;
    qsizetype pos_ = 0;
};

// "Zły format danych!", the message of a failed ".dta" or ".fda" import.
QString TextImportFormatMessage();

// ".dta" into Cycles (emptied first, then cycle 0). CaptionAddition receives " name line2" once
// the first lines were read. nullopt on success, else the message to show; what was read
// before the error stays in Cycles and Header.
std::optional<QString> ImportMeasurementText(const QString& FileName, TCykl& Cycles,
                                             TMeasurementHeader& Header,
                                             QString* CaptionAddition = nullptr);
// ".lda" into Points (at most 256 points). Errors throw (TextFormatError, MeasurementFileError);
// Points is then empty and Header unchanged.
void ImportTextReadings(const QString& FileName, TPunkt& Points, TMeasurementHeader& Header);
// ".fda" into lines 0..7 of Lines (every line emptied first, at least 8 lines kept). nullopt on
// success, else the message to show; the lines read before the error stay.
std::optional<QString> LoadFlatnessText(const QString& FileName, TCykl& Lines,
                                        TMeasurementHeader& Header);

// What the recording window reads of the main window: the live readout, the environment
// labels and the value collection.
#include <QLabel>

#include "app/EnvironmentPanel.h"
#include "app/LiveReadoutPage.h"
#include "app/Unit_glowny.h"
#include "app/rejstracja.h"

class TMainForm::RecordingParts final : public RecordingSource {
public:
    explicit RecordingParts(TMainForm& f) : f_(f) {}
    double ShownValue() const override { return f_.Readout().ReadingValue(); }
    int ShownDecimals() const override { return f_.Readout().ReadingPrecision(); }
    RecordingEnvironment EnvironmentTexts() const override {
        return f_.Environment().ShownReadings();
    }
    TVelValue& Samples() override { return *f_.VelocitySamples; }

private:
    TMainForm& f_;
};

RecordingSource& TMainForm::RecordingData() {
    if (!RecordingPartsHolder) RecordingPartsHolder = std::make_shared<RecordingParts>(*this);
    return *RecordingPartsHolder;
}

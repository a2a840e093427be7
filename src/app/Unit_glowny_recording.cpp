// What the recording window reads of the main window: the live readout, the environment
// labels and the value collection.
#include <QLabel>

#include "app/LiveReadoutPage.h"
#include "app/Unit_glowny.h"
#include "app/rejstracja.h"

class TMainForm::RecordingParts final : public RecordingSource {
public:
    explicit RecordingParts(TMainForm& f) : f_(f) {}
    double ShownValue() const override { return f_.Readout().ReadingValue(); }
    int ShownDecimals() const override { return f_.Readout().ReadingPrecision(); }
    RecordingEnvironment EnvironmentTexts() const override {
        auto text = [](const QLabel* l) { return l ? l->text() : QString(); };
        return {text(f_.Label23), text(f_.Label24), text(f_.Label25),
                text(f_.Label11), text(f_.Label12), text(f_.Label13)};
    }
    TVelValue& Samples() override { return *f_.VelocitySamples; }

private:
    TMainForm& f_;
};

RecordingSource& TMainForm::RecordingData() {
    if (!RecordingPartsHolder) RecordingPartsHolder = std::make_shared<RecordingParts>(*this);
    return *RecordingPartsHolder;
}

#pragma once
// Every form of the program, each made by a function: tests that go over all forms alike (their
// language, their fit on a small screen) share this one list.
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/CoRysowac.h"
#include "app/Form_Gcodes.h"
#include "app/HelpWindow.h"
#include "app/InfoForm.h"
#include "app/Informacje.h"
#include "app/LinearyzujWykres.h"
#include "app/Podstawka.h"
#include "app/PunktyPoz.h"
#include "app/SkalowanieOsi.h"
#include "app/Stol.h"
#include "app/UDBMaszyny.h"
#include "app/UKorCos.h"
#include "app/UPoczatek.h"
#include "app/UProstopa.h"
#include "app/UWybDrukFFT.h"
#include "app/Unit_DaneMaszyny.h"
#include "app/WybFormat.h"
#include "app/WyborKatalogu.h"
#include "app/ZrWsDlg.h"
#include "app/opcje.h"
#include "app/rejstracja.h"
#include "foundations/UInputError.h"
#include "instrument/UCheckCom.h"
#include "app/dialogs/UPomiarFFT.h"
#include "app/dialogs/UUstawSilnik.h"
#include "app/dialogs/UWykCom.h"
#include "app/dialogs/Unit_Kalibracja.h"
#include "app/dialogs/Unit_Komunikaty.h"
#include "reports/prev1_32.h"
#include "app/UDataModule.h"
#include "reports/ReportEngine.h"

namespace everyform {

// A recording source with nothing recorded.
struct NoRecording final : RecordingSource {
    double ShownValue() const override { return 0.0; }
    int ShownDecimals() const override { return 3; }
    RecordingEnvironment EnvironmentTexts() const override { return {}; }
    TVelValue& Samples() override { return samples; }
    TVelValue samples;
};

struct FormMaker {
    const char* name;
    std::function<std::unique_ptr<QWidget>()> make;
};

inline std::vector<FormMaker> EveryForm(TMachineTable& machines, RecordingSource& recording,
                                        instrument::PortSearchThreads& searches) {
    return {
        {"FInputError", [] { return std::make_unique<TFInputError>(); }},
        {"FOpcje", [&searches] { return std::make_unique<TFOpcje>(searches); }},
        {"FPunktyPoz", [] { return std::make_unique<TFPunktyPoz>(); }},
        {"FormDaneMaszyny", [] { return std::make_unique<TFormDaneMaszyny>(); }},
        {"FBDMaszyny", [&machines] { return std::make_unique<TFBDMaszyny>(&machines); }},
        {"InfoForm", [] { return std::make_unique<TInfoForm>(); }},
        {"ZrWsDlg", [] { return std::make_unique<TZrWsDlg>(); }},
        {"FPodstawka", [] { return std::make_unique<TFPodstawka>(); }},
        {"FSkalowanieOsi", [] { return std::make_unique<TFSkalowanieOsi>(); }},
        {"FormWyborKatalogu", [] { return std::make_unique<TFormWyborKatalogu>(); }},
        {"FormLinearyzujWykres", [] { return std::make_unique<TFormLinearyzujWykres>(); }},
        {"informacje", [] { return std::make_unique<Tinformacje>(); }},
        {"PoczatekForm", [] { return std::make_unique<TPoczatekForm>(); }},
        {"FWybDrukFFT", [] { return std::make_unique<TFWybDrukFFT>(); }},
        {"HelpWindow", [] { return std::make_unique<HelpWindow>(); }},
        {"FRejestracja", [&recording] { return std::make_unique<TFRejestracja>(recording); }},
        {"Kalibracja", [] {
             // Shown, it asks for its file; no one answers a file dialog in a test.
             auto form = std::make_unique<TKalibracja>();
             form->ChooseFile = [] { return QString(); };
             return form;
         }},
        {"Komunikaty", [] { return std::make_unique<TKomunikaty>(); }},
        {"WyborOsi", [] { return std::make_unique<TWyborOsi>(); }},
        {"Form_Gcodes", [] { return std::make_unique<TForm_Gcodes>(0); }},
        {"FWybFormat", [] { return std::make_unique<TFWybFormat>(); }},
        {"FProstopa", [] { return std::make_unique<TFProstopa>(); }},
        {"FKorCos", [] { return std::make_unique<TFKorCos>(); }},
        {"FCoRysowac", [] { return std::make_unique<TFCoRysowac>(); }},
        {"fWykCom", [&searches] { return std::make_unique<TfWykCom>(searches); }},
        {"FPomiarFFT", [] { return std::make_unique<TFPomiarFFT>(); }},
        {"FUstawSilnik", [] { return std::make_unique<TFUstawSilnik>(); }},
        {"frmPreview", [] {
             auto report = std::make_unique<reports::Report>();
             report->name = "Report";
             return std::make_unique<reports::TfrmPreview>(std::move(report));
         }},
    };
}

}  // namespace everyform

// The text export command and the vibration page of the real main window: the export writes
// what the writer writes, the page's entry, an acquisition against the simulated head, a ".dt7"
// shown as a spectrum and the display switches.
#include <QAction>
#include <QProgressBar>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>

#include "HeadWindowFixture.h"
#include "app/PunktyPoz.h"
#include "app/UWybDrukFFT.h"
#include "app/VibrationPage.h"
#include "app/VibrationRules.h"
#include "evaluation/MeasurementFiles.h"
#include "evaluation/TextExports.h"
#include "evaluation/VibrationSpectrum.h"
#include "foundations/Display.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"
#include "foundations/RealSpinEdit.h"
#include "instrument/UOdczyt.h"
#include "app/dialogs/UPomiarFFT.h"
#include "support/ModalDialog.h"
#include "support/SimHead.h"

using testsupport::Bytes;
using testsupport::FrameSpec;

namespace {

// A sine of bin 400 (48.828125 Hz) in the per-millisecond counts.
constexpr int kBin = 400;
int16_t sineSample(int i) { return int16_t(std::lround(1000.0 * std::sin(2.0 * M_PI * kBin * i / 8192.0))); }

QByteArray sineBody() {
    QByteArray b(kFftSampleBytes, '\0');
    for (int i = 0; i < 8192; ++i) {
        const int32_t s = sineSample(i);
        for (int k = 0; k < 4; ++k) b[4 * i + k] = char((uint32_t(s) >> (8 * k)) & 0xFF);
    }
    return b;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The frequency of the series' largest value.
double peakFrequency(const platform::TChartSeries& s) {
    int best = 0;
    for (int i = 1; i < s.Count(); ++i)
        if (s.YValue(i) > s.YValue(best)) best = i;
    return s.XValue(best);
}

}  // namespace

class VibrationPageTest : public HeadWindowTest {
protected:
    void SetUp() override {
        HeadWindowTest::SetUp();
        setFileDialogHook([this](const FileDialogSettings& s, bool save) {
            dialogs.push_back(s);
            return save ? saveAnswer : openAnswer;
        });
    }
    void TearDown() override {
        setFileDialogHook({});
        delete FPomiarFFT;
        HeadWindowTest::TearDown();
    }
    void startWindow() {
        start();
        f = form();
        messages.clear();
        DataSaved = true;
    }
    void exportByMenu() {
        QAction* a = f->MenuCommand(QStringLiteral("Eksport1"));
        ASSERT_NE(a, nullptr);
        a->setEnabled(true);
        a->trigger();
    }
    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    platform::TChartSeries& SFreq() const { return *Control<platform::TChart>(f, "WykresFFT")->SeriesByName("SFreq"); }
    platform::TChartSeries& SCzasowa() const { return *Control<platform::TChart>(f, "FFTCzas")->SeriesByName("SCzasowa"); }
    // The vibration page with the sine frame opened from a ".dt7".
    void openSineFile() {
        f->FftAnalysis().BitBtnFFTClick();
        SaveFftFile(path("sine.dt7"), TMeasurementHeader{}, sineBody());
        ASSERT_TRUE(f->LoadMeasurementFile(path("sine.dt7"), 5));
    }

    TMainForm* f = nullptr;
    std::vector<FileDialogSettings> dialogs;
    std::optional<QString> openAnswer, saveAnswer;
};

TEST(VibrationPageRules, ExportNameWriterAndTitles) {
    using namespace vibrationrules;
    const QString cap = "VKM30 - Pozycjonowanie";
    EXPECT_EQ(ExportFileName(cap + " - run.dt2", cap), "run");
    EXPECT_EQ(ExportFileName(cap + " - a.b.dt2", cap), "a.b");
    EXPECT_EQ(ExportFileName(cap, cap), "");             // no file open
    EXPECT_EQ(ExportFileName("VKM30", ""), "");          // a mode without a caption
    EXPECT_EQ(ExportWriterFor(7, -1), ExportWriter::Velocity);
    EXPECT_EQ(ExportWriterFor(5, 0), ExportWriter::FftTime);
    EXPECT_EQ(ExportWriterFor(5, 1), ExportWriter::FftSpectrum);
    EXPECT_EQ(ExportWriterFor(5, -1), ExportWriter::None);
    EXPECT_EQ(ExportWriterFor(6, 0), ExportWriter::None);
    FftOutputNames = {"Amplituda", "Faza", "Część rzecz.", "Część urojona"};
    for (int signal : {0, 1, 2}) EXPECT_EQ(SpectrumAxisTitle(signal, 1), "Faza [deg]");
    EXPECT_EQ(SpectrumAxisTitle(2, 0), "Amplituda [mm/s2]");
    EXPECT_EQ(TimeAxisTitle(1), QString::fromUtf8("Prędkość [mm/s]"));
    EXPECT_EQ(SpectrumAxisTitle(0, 4), "");
    EXPECT_EQ(LogAxisMinimum(-3.5), 0.0);
    EXPECT_EQ(LogAxisMinimum(2.0), 2.0);
}

// The menu's export writes byte for byte what the writer writes, under the open file's name.
TEST_F(VibrationPageTest, ExportWritesWhatTheWriterWrites) {
    startWindow();
    TCykl cycles;
    for (int k = 0; k < 2; ++k) {
        TPunkt& p = cycles.Add().Punkt;
        for (int j = 0; j < 4; ++j) {
            TPunktItem& it = p.Add();
            it.Dystans = 50.0 * j;
            it.Xa = 0.25 * j - k;
            it.Xr = -0.5 * j;
        }
    }
    TPunkt line;
    for (double d : {0.0, 10.0, 20.0}) {
        TPunktItem& it = line.Add();
        it.Dystans = d;
        it.Xa = d / 7.0;
    }
    *f->PositioningCycles = cycles;
    *f->StraightnessPoints = line;
    ExportPositioningText(cycles, path("direct0.txt"));
    ExportStraightnessText(line, path("direct2.txt"));

    for (int mode : {0, 2}) {
        SCOPED_TRACE(mode);
        f->MeasurementMode = uint8_t(mode);
        f->setWindowTitle(f->ModeCaptions[size_t(mode)] + " - run.dt" + QString::number(mode + 2));
        saveAnswer = path(QStringLiteral("export%1.txt").arg(mode));
        exportByMenu();
        const FileDialogSettings& s = dialogs.back();
        EXPECT_EQ(s.FileName, "run");
        EXPECT_EQ(s.DefaultExt, ".txt");
        EXPECT_EQ(s.FilterIndex, 1);
        EXPECT_EQ(s.Filter, "Dokumenty tekstowe (*.txt)|*.txt|Wszystkie pliki (*.*)|*.*");
        EXPECT_EQ(s.InitialDir, mode == 0 ? f->PositioningDir : f->StraightnessDir);
        const QByteArray written = readAll(*saveAnswer);
        EXPECT_FALSE(written.isEmpty());
        EXPECT_EQ(written, readAll(path(QStringLiteral("direct%1.txt").arg(mode))));
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(VibrationPageTest, CancelledOrUnwritableExportWritesNothing) {
    startWindow();
    f->MeasurementMode = 0;
    f->PositioningCycles->Add().Punkt.Add().Dystans = 1.0;
    saveAnswer.reset();
    exportByMenu();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.txt"}).isEmpty());
    EXPECT_TRUE(messages.empty());

    saveAnswer = path("no-such-folder/out.txt");
    exportByMenu();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].type, TMsgDlgType::mtError);
    EXPECT_FALSE(messages[0].text.isEmpty());
    EXPECT_FALSE(QFile::exists(*saveAnswer));
}

TEST_F(VibrationPageTest, EntryShowsThePageAndItsCommands) {
    startWindow();
    Control<QPushButton>(f, "BitBtnFFT")->click();
    EXPECT_EQ(f->MeasurementMode, 5);
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 9);
    EXPECT_EQ(f->windowTitle(), f->ModeCaptions[5]);
    for (const char* shown : {"Plik1", "Edycja1", "Pomoc1"}) EXPECT_TRUE(f->MenuCommand(shown)->isVisible()) << shown;
    for (const char* hidden : {"ImportDanych", "TabelaPomiarow", "Dlugoscpodstawki", "MenuItemWidok",
                               "TabelaKompensacji1", "ReczneZaliczeniePunktuPK"})
        EXPECT_FALSE(f->MenuCommand(hidden)->isVisible()) << hidden;
    EXPECT_EQ(Control<platform::TChart>(f, "FFTCzas")->BottomAxis().Title(), Msg("stCzas") + " [s]");
    EXPECT_EQ(Control<platform::TChart>(f, "WykresFFT")->BottomAxis().Title(), Msg("stCzest") + " [Hz]");
    EXPECT_EQ(f->FftSamples().size(), kFftSampleBytes);

    // Entered again after samples came in: the samples are zeroed.
    f->FftSamples()[5] = 9;
    f->FftAnalysis().BitBtnFFTClick();
    EXPECT_EQ(f->FftSamples(), QByteArray(kFftSampleBytes, '\0'));

    // Unsaved samples and Cancel to the question: the page and its samples stay.
    SCzasowa().AddXY(0, 1);
    DataSaved = false;
    Control<QPushButton>(f, "FFTGMenu")->click();
    Control<QPushButton>(f, "FFTPom")->click();
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 9);
    EXPECT_EQ(SCzasowa().Count(), 1);
    EXPECT_EQ(FPomiarFFT, nullptr);
    EXPECT_EQ(messages.size(), 2u);

    // Back to the main menu: the page is left, the charts emptied.
    DataSaved = true;
    Control<QPushButton>(f, "FFTGMenu")->click();
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 1);
    EXPECT_EQ(SCzasowa().Count(), 0);
}

// A ".dt7" shows its spectrum; the switches recompute or redraw it; the export of the
// vibration mode writes the chart it is asked for.
TEST_F(VibrationPageTest, OpenedFileShowsItsSpectrumAndTheSwitchesChangeIt) {
    startWindow();
    openSineFile();
    ASSERT_EQ(SCzasowa().Count(), 8192);
    ASSERT_EQ(SFreq().Count(), 4096);
    EXPECT_DOUBLE_EQ(SFreq().XValue(0), 1000.0 / 8192.0);
    EXPECT_DOUBLE_EQ(peakFrequency(SFreq()), kBin * 1000.0 / 8192.0);
    EXPECT_EQ(Control<platform::TChart>(f, "WykresFFT")->LeftAxis().Title(), Msg("stAmplituda") + " [µm]");
    const double distancePeak = SFreq().YValue(kBin - 1);

    Control<TRadioGroup>(f, "RGFFTCzas")->SetItemIndex(2);  // acceleration: recomputed from the samples
    EXPECT_EQ(Control<platform::TChart>(f, "FFTCzas")->LeftAxis().Title(), Msg("stPrzyspieszenie") + " [mm/s2]");
    EXPECT_EQ(Control<platform::TChart>(f, "WykresFFT")->LeftAxis().Title(), Msg("stAmplituda") + " [mm/s2]");
    EXPECT_DOUBLE_EQ(peakFrequency(SFreq()), kBin * 1000.0 / 8192.0);
    EXPECT_NE(SFreq().YValue(kBin - 1), distancePeak);

    Control<TRadioGroup>(f, "RGFFTOut")->SetItemIndex(1);
    EXPECT_EQ(Control<platform::TChart>(f, "WykresFFT")->LeftAxis().Title(), Msg("stFaza") + " [deg]");
    for (int i = 0; i < SFreq().Count(); ++i) ASSERT_LE(std::abs(SFreq().YValue(i)), 180.0) << i;

    Control<QCheckBox>(f, "CBSkladStala")->setChecked(true);  // from bin 0
    EXPECT_EQ(SFreq().Count(), 4097);
    EXPECT_EQ(SFreq().XValue(0), 0.0);

    Control<platform::TChart>(f, "WykresFFT")->BottomAxis().SetAutomatic(false);
    Control<platform::TChart>(f, "WykresFFT")->BottomAxis().SetMinMax(-10.0, 500.0);
    Control<QCheckBox>(f, "CBLog")->setChecked(true);
    EXPECT_TRUE(Control<platform::TChart>(f, "WykresFFT")->BottomAxis().Logarithmic());
    EXPECT_EQ(Control<platform::TChart>(f, "WykresFFT")->BottomAxis().Minimum(), 0.0);
    Control<QCheckBox>(f, "CBLog")->setChecked(false);
    EXPECT_FALSE(Control<platform::TChart>(f, "WykresFFT")->BottomAxis().Logarithmic());

    // "Jako tło": the frame becomes the background, which the next transform subtracts; the
    // subtraction switched off shows the frame's own spectrum again.
    ASSERT_TRUE(Control<QPushButton>(f, "bSaveBackG")->isEnabled());
    EXPECT_FALSE(Control<QCheckBox>(f, "cbBackGroundFFT")->isEnabled());
    Control<TRadioGroup>(f, "RGFFTOut")->SetItemIndex(0);
    Control<QPushButton>(f, "bSaveBackG")->click();
    EXPECT_TRUE(Control<QCheckBox>(f, "cbBackGroundFFT")->isEnabled());
    EXPECT_TRUE(Control<QCheckBox>(f, "cbBackGroundFFT")->isChecked());
    Control<TRadioGroup>(f, "RGFFTCzas")->SetItemIndex(0);  // the next transform
    double largest = 0;
    for (int i = 0; i < SFreq().Count(); ++i) largest = std::max(largest, std::abs(SFreq().YValue(i)));
    EXPECT_EQ(largest, 0.0);
    Control<QPushButton>(f, "bSaveBackG")->click();  // already checked: only the frame is copied
    EXPECT_TRUE(Control<QCheckBox>(f, "cbBackGroundFFT")->isChecked());
    Control<QCheckBox>(f, "cbBackGroundFFT")->setChecked(false);
    EXPECT_DOUBLE_EQ(SFreq().YValue(kBin), distancePeak);

    // The export: the chart choice picks the writer; cancelling it asks for no file.
    auto answerChoice = [](int item, const char* button) {
        testsupport::whenModalShown<TFWybDrukFFT>([item, button](TFWybDrukFFT& d) {
            EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Co eksportować?"));
            d.RadioGroup1->SetItemIndex(item);
            d.findChild<QPushButton*>(button)->click();
        });
    };
    answerChoice(0, "BitBtn1");
    saveAnswer = path("time.txt");
    exportByMenu();
    EXPECT_EQ(dialogs.back().FileName, "sine");
    ExportFftTimeText(vibrationrules::ChartValues(*Control<platform::TChart>(f, "FFTCzas")), path("direct.txt"));
    EXPECT_EQ(readAll(path("time.txt")), readAll(path("direct.txt")));
    const size_t asked = dialogs.size();
    answerChoice(1, "BitBtn2");
    exportByMenu();
    EXPECT_EQ(dialogs.size(), asked);
}

// Leaving the page frees its transform arrays; the background stays for the program's life, so
// the same frame opened after coming back is subtracted to nothing. The program's end frees the
// arrays as leaving does.
TEST_F(VibrationPageTest, LeavingThePageFreesItsArraysAndKeepsTheBackground) {
    startWindow();
    openSineFile();
    EXPECT_TRUE(f->FftAnalysis().HoldsFrameBuffers());
    Control<QPushButton>(f, "bSaveBackG")->click();
    DataSaved = true;
    Control<QPushButton>(f, "FFTGMenu")->click();
    ASSERT_EQ(f->NotebookMainForm->currentIndex(), 1);
    EXPECT_FALSE(f->FftAnalysis().HoldsFrameBuffers());

    openSineFile();
    EXPECT_TRUE(Control<QCheckBox>(f, "cbBackGroundFFT")->isChecked());
    ASSERT_EQ(SFreq().Count(), 4096);
    double largest = 0;
    for (int i = 0; i < SFreq().Count(); ++i) largest = std::max(largest, std::abs(SFreq().YValue(i)));
    EXPECT_EQ(largest, 0.0);
    f->FreeVibrationBuffers();
    EXPECT_FALSE(f->FftAnalysis().HoldsFrameBuffers());
}

// "Pomiar" against the simulated head: the head's counts fill the first gauge, its FFT blocks
// the samples, and the end shows the spectrum on WykresFFT with the window usable again.
TEST_F(VibrationPageTest, AcquisitionOverTheHeadEndsWithTheSpectrum) {
    startWithHead();
    f = form();
    messages.clear();
    DataSaved = true;
    // The head stops counting on the 'R' that asks for its samples (not on the page's start).
    // The head's reader calls this until the head is gone, after the test body: the flag is
    // owned by the reply, not by the body's stack.
    auto acquiring = std::make_shared<std::atomic<bool>>(false);
    head.setAutoReply([this, acquiring](uint8_t c) {
        if (c == 'z') *acquiring = true;
        if (c == 'R' && *acquiring) head.stopStreaming();
        if (c != '|') return Bytes{};
        Bytes out;
        for (int b = 0; b < 1024; ++b) {
            std::array<int16_t, 8> s{};
            for (int k = 0; k < 8; ++k) s[size_t(k)] = sineSample(b * 8 + k);
            const Bytes block = testsupport::encodeFftBlock(s);
            out.insert(out.end(), block.begin(), block.end());
        }
        return out;
    });
    head.startStreaming(FrameSpec::ready(100), std::chrono::milliseconds(3));
    f->FftAnalysis().BitBtnFFTClick();
    ASSERT_TRUE(pumpUntil([&] { return f->ReadingThread().Running(); }));
    Control<QPushButton>(f, "FFTPom")->click();
    ASSERT_NE(FPomiarFFT, nullptr);
    EXPECT_FALSE(f->centralWidget()->isEnabled());
    EXPECT_TRUE(FPomiarFFT->isEnabled());
    ASSERT_TRUE(pumpUntil([&] { return FPomiarFFT == nullptr; }, 20000));
    ASSERT_TRUE(pumpUntil([&] { return f->centralWidget()->isEnabled(); }));
    ASSERT_EQ(SFreq().Count(), 4096);
    EXPECT_DOUBLE_EQ(peakFrequency(SFreq()), kBin * 1000.0 / 8192.0);
    EXPECT_EQ(f->FftSamples(), sineBody());
    EXPECT_FALSE(DataSaved);
    EXPECT_FALSE(MeasurementRunning.load());
    EXPECT_TRUE(f->MenuCommand("Eksport1")->isEnabled());
    const Bytes sent = head.receivedCommands();
    for (uint8_t c : {uint8_t('z'), uint8_t('|'), uint8_t('}')})
        EXPECT_NE(std::find(sent.begin(), sent.end(), c), sent.end()) << char(c);
}

// The edit shows the coefficient in 10^-6/K; the readings take it per kelvin.
TEST_F(VibrationPageTest, ExpansionCoefficientFollowsItsEdit) {
    startWindow();
    Control<TRealSpinEdit>(f, "RSEWspRoz")->setText("8,5");
    EXPECT_DOUBLE_EQ(ExpansionCoefficient, 8.5e-6);
    Control<TRealSpinEdit>(f, "RSEWspRoz")->SetValue(23.0);
    EXPECT_DOUBLE_EQ(ExpansionCoefficient, 23.0e-6);
}

TEST_F(VibrationPageTest, DigitSwitchSetsBothPositioningReadouts) {
    startWindow();
    EXPECT_EQ(f->UpDown1->value(), 2);
    for (int position : {5, 1, 4}) {
        f->UpDown1->setValue(position);
        EXPECT_EQ(Control<TDisplay>(f, "DispWarMierzona")->Precision(), 6 - position);
        EXPECT_EQ(Control<TDisplay>(f, "DispWarZadana")->Precision(), 6 - position);
    }
}

TEST_F(VibrationPageTest, Screenshot) {
    startWindow();
    f->resize(1100, 760);
    f->show();
    openSineFile();
    QCoreApplication::processEvents();
    const QPixmap shot = f->grab();
    EXPECT_FALSE(shot.isNull());
    if (const QByteArray d = qgetenv("VKM30_SCREENSHOT_DIR"); !d.isEmpty())
        shot.save(QString::fromLocal8Bit(d) + "/VibrationPage.png");
}

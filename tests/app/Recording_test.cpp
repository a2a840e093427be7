// The recording window over the live readout: the timed log, the all-samples mode fed by the
// reading thread from the simulated head, saving through the safe-save routine, the error row
// when the head stops, and the questions before rows or samples could be lost.
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>

#include "HeadWindowFixture.h"
#include "app/DialogParts.h"
#include "app/LiveReadoutPage.h"
#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "app/PunktyPoz.h"
#include "app/Recording.h"
#include "app/rejstracja.h"
#include "foundations/Display.h"
#include "foundations/NumberFormat.h"
#include "foundations/HeadList.h"
#include "instrument/UOdczyt.h"
#include "app/dialogs/Unit_Komunikaty.h"
#include "support/ModalDialog.h"

namespace {

using testsupport::FrameSpec;

class RecordingTest : public HeadWindowTest {
protected:
    void TearDown() override {
        setFileDialogHook({});
        FRejestracja = nullptr;
        HeadWindowTest::TearDown();
    }
    // Every save dialog answers `file`.
    void saveTo(const QString& file) {
        setFileDialogHook([file](const FileDialogSettings&, bool save) -> std::optional<QString> {
            EXPECT_TRUE(save);
            return file;
        });
    }
    QList<QByteArray> linesOf(const QString& file) {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
        QByteArray all = f.readAll();
        EXPECT_TRUE(all.isEmpty() || all.endsWith("\r\n"));
        all.chop(2);
        return all.isEmpty() ? QList<QByteArray>{} : all.split('\n');
    }
    // Answers the next message boxes with `answer`, recording them.
    void answerBoxes(int answer) {
        setMessageDlgHook([this, answer](const MessageDlgRequest& r) {
            messages.push_back(r);
            return answer;
        });
    }
    // The live readout reading the streamed counts.
    void startReadout() {
        startWithHead();
        head.startStreaming(FrameSpec::ready(4000));
        modes::StartDisplayReading(form()->ModeHost());
        ASSERT_TRUE(form()->ReadingThread().Running());
    }
};

TEST(RecordingRules, RowsIntervalAndLog) {
    EXPECT_EQ(NormalizedInterval(0, 0, 0).TotalSeconds(), 1);
    EXPECT_EQ(NormalizedInterval(1, 2, 0).TotalSeconds(), 3720);
    const QDateTime t0(QDate(2026, 1, 2), QTime(10, 0, 0));
    EXPECT_FALSE(RecordingRowDue(t0, {0, 0, 1}, t0.addMSecs(1000)));
    EXPECT_TRUE(RecordingRowDue(t0, {0, 0, 1}, t0.addMSecs(1200)));
    const QString row = RecordingRowText(7, "02.01.2026 10:00", 12.3456789, 3,
                                         {"45%", "1013.2hPa", "20.15C", "20.10C", "--", "19.995C"});
    const QString value = QStringLiteral("12") + foundations::systemDecimalSeparator() + QStringLiteral("346");
    EXPECT_EQ(row, "7;02.01.2026 10:00;" + value + ";45;1013.2;20.15;20.10;--;19.99");
    EXPECT_EQ(RecordingErrorRowText("t", QString::fromUtf8("Błąd")), QString::fromUtf8("--;t;Błąd;--;--;--;--;--;--"));

    RecordingLog log;
    log.AddRow("a");
    log.AddErrorRow("e");  // no number of its own
    EXPECT_EQ(log.NextNumber(), 2);
    log.MarkSaved();
    log.Clear();
    EXPECT_EQ(log.NextNumber(), 1);
    EXPECT_TRUE(log.Saved());
    log.AddRow("b");
    log.Clear();
    EXPECT_FALSE(log.Saved());  // clearing is no saving
}

TEST_F(RecordingTest, TimedRowsAreSavedAndReadBack) {
    startReadout();
    TMainForm& f = *form();
    ASSERT_TRUE(pumpUntil([&] { return f.Readout().ReadingValue() != 0.0; }));  // the readout shows the head
    TFRejestracja w(f.RecordingData(), &f);
    w.show();
    w.SPSekunda->setValue(0);  // 0:0:0 turns the seconds back to 1
    EXPECT_EQ(w.SPSekunda->value(), 1);
    w.BStart->click();
    EXPECT_FALSE(w.BStart->isEnabled());
    ASSERT_TRUE(pumpUntil([&] { return w.ListaPomiarow->Count() >= 3; }, 10000));
    w.BStop->click();
    const int rows = w.ListaPomiarow->Count();
    // "Liczba próbek:" counts the rows as they come.
    EXPECT_EQ(w.Display1->Value(), rows);
    EXPECT_FALSE(w.Saved());
    w.resize(760, 400);
    w.grab().save(QStringLiteral("/tmp/shots/recording_window.png"));

    const QString file = dir.filePath("log.txt");
    saveTo(file);
    w.BZapis->click();
    EXPECT_TRUE(w.Saved());
    const QList<QByteArray> lines = linesOf(file);
    ASSERT_EQ(lines.size(), rows);
    for (int i = 0; i < 3; ++i) {
        const QList<QByteArray> fields = lines[i].split(';');
        ASSERT_EQ(fields.size(), 9) << lines[i].constData();
        EXPECT_EQ(fields[0], QByteArray::number(i + 1));
        // The readout's value as it is shown (10 significant digits, the readout's decimals).
        EXPECT_EQ(QString::fromLatin1(fields[2]),
                  foundations::formatFixed(f.Readout().ReadingValue(), 10, f.Readout().ReadingPrecision(), u','));
    }
    // Saved: closing asks nothing.
    messages.clear();
    w.BKoniec->click();
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(w.isVisible());
}

TEST_F(RecordingTest, AllSamplesFromTheHeadAreSavedAndTheErrorRowComesWhenTheHeadStops) {
    startReadout();
    TMainForm& f = *form();
    TFRejestracja w(f.RecordingData(), &f);
    FRejestracja = &w;
    w.show();
    w.CBWszystkie->click();
    EXPECT_TRUE(w.ListaPomiarow->isHidden());
    EXPECT_FALSE(w.SPGodzina->isEnabled());
    w.BStart->click();
    EXPECT_TRUE(RecordingOn.load());
    ASSERT_TRUE(pumpUntil([&] { return RecordingTicks.load() >= 10; }));
    ASSERT_TRUE(pumpUntil([&] { return w.Display1->Value() >= 10; }));  // the 200 ms count

    // Closing with unsaved samples: Cancel keeps the window and the samples.
    answerBoxes(mrCancel);
    w.BKoniec->click();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(messageCount(QString::fromUtf8("Pomiary nie zapisane!! Czy chcesz je zapisać?")), 1);

    const QString file = dir.filePath("samples.txt");
    saveTo(file);
    w.BZapis->click();  // stops the recording first
    EXPECT_FALSE(RecordingOn.load());
    const int samples = f.VelocitySamples->Count();
    EXPECT_GE(samples, 10);
    EXPECT_EQ(samples, RecordingTicks.load());
    EXPECT_EQ(linesOf(file).size(), samples);

    // The head loses its stabilisation: the error row, and the recording stops.
    w.CBWszystkie->click();
    w.BStart->click();  // a timed log, so the row shows
    FrameSpec notReady = FrameSpec::ready(4000);
    notReady.status &= uint8_t(~testsupport::kStReady);
    head.setStreamFrame(notReady);
    ASSERT_TRUE(pumpUntil([&] { return !f.ReadingThread().Running() && w.ListaPomiarow->Count() >= 2; }));
    const QString last = w.ListaPomiarow->Item(w.ListaPomiarow->Count() - 1);
    EXPECT_TRUE(last.startsWith("--;")) << last.toStdString();
    EXPECT_TRUE(last.endsWith(QString::fromUtf8(";Błąd;--;--;--;--;--;--"))) << last.toStdString();
    EXPECT_TRUE(w.BStart->isEnabled());
    answerBoxes(mrNo);
    w.BKoniec->click();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(RecordingTest, NothingIsLostWithoutAQuestion) {
    start();
    TMainForm& f = *form();
    TFRejestracja w(f.RecordingData(), &f);
    w.show();
    w.BStart->click();  // one timed row at once
    w.BStop->click();
    ASSERT_EQ(w.ListaPomiarow->Count(), 1);

    // "Wyczyść" with unsaved rows asks; No keeps them.
    answerBoxes(mrNo);
    w.BWyczysc->click();
    EXPECT_EQ(w.ListaPomiarow->Count(), 1);
    answerBoxes(mrYes);
    w.BWyczysc->click();
    EXPECT_EQ(w.ListaPomiarow->Count(), 0);

    // "Start" of all samples over unsaved velocity samples asks; No keeps them.
    for (int i = 0; i < 5; ++i) f.VelocitySamples->Add().Value = i;
    VelocityDataSaved = false;
    w.CBWszystkie->click();
    messages.clear();
    answerBoxes(mrNo);
    w.BStart->click();
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_FALSE(RecordingOn.load());
    EXPECT_EQ(f.VelocitySamples->Count(), 5);
    answerBoxes(mrYes);
    w.BStart->click();
    EXPECT_TRUE(RecordingOn.load());
    EXPECT_EQ(f.VelocitySamples->Count(), 0);
    w.BStop->click();

    // Yes to the closing question with a cancelled save keeps the window and the rows unsaved.
    w.CBWszystkie->click();
    w.BStart->click();
    w.BStop->click();
    setFileDialogHook([](const FileDialogSettings&, bool) -> std::optional<QString> { return std::nullopt; });
    answerBoxes(mrYes);
    w.BKoniec->click();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.Saved());
    answerBoxes(mrNo);
    w.BKoniec->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(RecordingOn.load());
}

TEST_F(RecordingTest, RejestracjaOpensTheWindowModally) {
    start();
    TMainForm& f = *form();
    TFRejestracja* seen = nullptr;
    testsupport::whenModalShown<TFRejestracja>([&](TFRejestracja& d) {
        seen = FRejestracja;
        EXPECT_EQ(seen, &d);
        d.BKoniec->click();
    });
    Control<QPushButton>(&f, "ButRejestracja")->click();
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(FRejestracja, nullptr);
}

}  // namespace

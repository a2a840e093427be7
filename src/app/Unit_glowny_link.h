#pragma once
// The main window's sinks of the link layer and the frame parser (private to the window).
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QStackedWidget>
#include <QStatusBar>

#include "app/LiveReadoutPage.h"
#include "app/ServicePage.h"
#include "app/Unit_glowny.h"
#include "app/VibrationPage.h"
#include "foundations/MessageDlg.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "instrument/MemoryFifo.h"
#include "instrument/SerialFrameParser.h"
#include "platform/CardPorts.h"

namespace mainform_link {

inline QListWidget* listOf(TMainForm& f, instrument::LinkList list) {
    switch (list) {
    case instrument::LinkList::RSListBox: return f.RSListBox;
    case instrument::LinkList::PSListBox1: return f.PSListBox1;
    case instrument::LinkList::PSListBox2: return f.PSListBox2;
    }
    return nullptr;
}

}  // namespace mainform_link

// What the command layer shows: the busy message and the status texts.
class TMainForm::MainLinkSink : public instrument::LinkSink {
public:
    explicit MainLinkSink(TMainForm& f) : f_(f) {}
    void SetCommandReadyColour(uint32_t colour) override { f_.Service().SetCommandReadyColour(colour); }
    void StopLinkWatchdog() override { f_.SetLinkWatchdogEnabled(false); }
    void SetStatusText(const QString& text) override { f_.SetLinkStatusText(text); }
    void ShowMessage(const QString& text) override { ::ShowMessage(text); }

private:
    TMainForm& f_;
};

// What the serial frame parser asks and shows.
class TMainForm::MainFrameSink : public instrument::SerialFrameSink {
public:
    explicit MainFrameSink(TMainForm& f) : f_(f) {}
    bool ServicePageShown() override { return f_.NotebookMainForm->currentIndex() == 6; }
    bool ServiceTraceOn() override { return f_.CheckBox3->isChecked(); }
    bool ZeemanTestOn() override { return f_.Service().ZeemanTestOn(); }
    void ShowFlagBits() override { f_.Service().ShowFlagBits(); }
    void BlinkMeteoLabels() override { f_.Service().BlinkMeteoLabels(); }
    void ShowCalibrationOffsets(int32_t x, int32_t y) override { f_.ShowCalibrationOffsets(x, y); }
    void ShowXyValues(int32_t ax, int32_t ay, int32_t dx, int32_t dy, uint8_t px, uint8_t py) override {
        f_.Service().ShowXyValues(ax, ay, dx, dy, px, py);
    }
    bool CalibrationFormOpen() override { return ::CalibrationFormOpen; }
    bool AlignmentViewOn() override { return f_.Readout().AlignmentChecked(); }
    int ListCount(instrument::LinkList list) override {
        QListWidget* l = mainform_link::listOf(f_, list);
        return l ? l->count() : 0;
    }
    void AddListLine(instrument::LinkList list, const QString& line) override {
        if (QListWidget* l = mainform_link::listOf(f_, list)) l->addItem(line);
    }
    void DeleteOldestLines(instrument::LinkList list, int n) override {
        QListWidget* l = mainform_link::listOf(f_, list);
        for (int i = 0; l && i < n && l->count() > 0; ++i) delete l->takeItem(0);
    }
    void SetStatusText(const QString& text) override { f_.SetLinkStatusText(text); }
    void Beep() override { QApplication::beep(); }
    void EnableAlignment() override {
        f_.Readout().EnableAlignment();
        f_.cbSystemXY->setChecked(true);  // its handler marks the two-axis system
    }
    void DrawAlignmentTarget(int32_t ax, int32_t ay, int32_t dx, int32_t dy, uint8_t px, uint8_t py) override {
        f_.DrawAlignmentTarget(ax, ay, dx, dy, px, py);
    }
    int32_t* FftSampleBuffer() override { return f_.FftAnalysis().FftTransferBuffer(); }
    void SetFftGauge(int32_t count) override { f_.FftAnalysis().FftTransferProgress(count); }
    void FftTransferComplete() override { f_.FftAnalysis().FftTransferEnded(); }

private:
    TMainForm& f_;
};


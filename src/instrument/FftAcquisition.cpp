#include "instrument/FftAcquisition.h"

#include <algorithm>

#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "instrument/SerialFrameParser.h"

namespace instrument {

void FftAcquisitionHost::SendCommandByte(uint8_t b) { ::SendCommandByte(b); }

void FftAcquisitionHost::Sleep(int ms) {
    auto link = Link();
    if (link->clock.sleepMs) link->clock.sleepMs(ms);
}

void FftAcquisitionHost::PurgeSerialInput() {
    auto link = Link();
    if (link->comm) link->comm->FlushBuffers(true, false);
}

void FftAcquisitionHost::ShowConnectionError() { ShowMessage(Msg(QStringLiteral("stConnectionError"))); }

FftAcquisitionHost& ProgramFftAcquisitionHost() {
    struct WithoutWindow final : FftAcquisitionHost {
        void SetMainWindowEnabled(bool) override {}
    };
    static WithoutWindow host;
    return host;
}

bool FftAcquisition::SampleStored() {
    if (finished_) return false;
    stored_ = std::min(stored_ + 1, kStoredMax);
    if (stored_ < kStoredMax || FftTransfer.load()) return false;
    host_.SendCommandByte(HeadCommand::ResetFifo);
    host_.Sleep(50);
    host_.PurgeSerialInput();
    transferStarted_ = true;
    FftTransfer = true;
    instrument::LinkState().ReceiveState = 1;
    instrument::LinkState().FftByteCount = 0;
    host_.SendCommandByte(HeadCommand::FftSendBlocks);
    return true;
}

void FftAcquisition::SetTransferred(int32_t index) { transferred_ = std::clamp<int32_t>(index, 0, kTransferredMax); }

bool FftAcquisition::StallTick() {
    if (transferred_ == seenAtLastTick_) return true;
    seenAtLastTick_ = transferred_;
    return false;
}

void FftAcquisition::Finish() {
    if (finished_) return;
    finished_ = true;
    host_.SendCommandByte(HeadCommand::FftEnd);
    host_.Sleep(200);
    host_.SetMainWindowEnabled(true);
    MeasurementRunning = false;
    host_.SendCommandByte(HeadCommand::StartFifo);
    host_.PurgeSerialInput();
    FftTransfer = false;
    // A transfer cut inside a block must not leave the frame parser in the middle of one.
    instrument::LinkState().ReceiveState = 1;
}

}  // namespace instrument

#include "app/LinkThreads.h"

#include "foundations/SharedGlobals.h"
#include "instrument/OdczytSygnaluPomiarowego.h"
#include "instrument/ThreadHandOff.h"
#include "instrument/UOdczyt.h"
#include "instrument/UOdczytB.h"
#include "platform/Sync.h"

LinkThreads::LinkThreads(LinkThreadWiring& wiring) : wiring_(wiring) {
    MeteoDataEvent = new platform::ManualResetEvent;
    MeteoQuitEvent = new platform::ManualResetEvent;
    MeteoWaitHandles = {MeteoDataEvent, MeteoQuitEvent};
    ComCheckEvent = new platform::ManualResetEvent;
    SampleEvent = new platform::ManualResetEvent;
    ReadQuitEvent = new platform::ManualResetEvent;
    ReadWaitHandles = {SampleEvent, ReadQuitEvent};
    ProgramLoadEvent = new platform::ManualResetEvent;
}

LinkThreads::~LinkThreads() {
    Stop(5000);
    // The thread objects go before the events they wait on (each waits for its thread's end).
    portSearch_.reset();
    biosText_.reset();
    loader_.reset();
    meteo_.reset();
    reading_.reset();
    delete CardSemaphore;
    CardSemaphore = nullptr;
    MeteoWaitHandles = {nullptr, nullptr};
    ReadWaitHandles = {nullptr, nullptr};
    for (platform::ManualResetEvent** e :
         {&MeteoDataEvent, &MeteoQuitEvent, &ComCheckEvent, &SampleEvent, &ReadQuitEvent, &ProgramLoadEvent}) {
        delete *e;
        *e = nullptr;
    }
}

void LinkThreads::MakeCardSemaphore() {
    if (!CardSemaphore) CardSemaphore = new platform::BinarySemaphore;
}

instrument::TOdczyt& LinkThreads::Reading() {
    if (!reading_) reading_ = std::make_unique<instrument::TOdczyt>(wiring_.ReadingOutputs(), wiring_.ReadingPort());
    return *reading_;
}

bool LinkThreads::StartReading(uint64_t generation) {
    if (stopping_) return false;
    Reading().Start(generation);
    return true;
}

bool LinkThreads::ReadingRunning() const { return reading_ && reading_->Running(); }

bool LinkThreads::StartMeteo() {
    if (stopping_) return false;
    if (!meteo_)
        meteo_ = std::make_unique<instrument::TOdczytMeteo>(wiring_.MeteoOutputs(), wiring_.MeteoChoices(),
                                                            wiring_.MeteoCardExchange());
    if (!meteo_->Running()) meteo_->Start();
    return true;
}

bool LinkThreads::MeteoRunning() const { return meteo_ && meteo_->Running(); }

bool LinkThreads::StartLoader(instrument::LoaderSpeeds speeds) {
    if (stopping_) return false;
    if (!loader_) loader_ = std::make_unique<instrument::TLoadProgram>(wiring_.LoaderOutputs(), wiring_.LoaderPauses());
    if (loader_->Running()) return false;
    loader_->Start(speeds);
    return true;
}

bool LinkThreads::LoaderRunning() const { return loader_ && loader_->Running(); }

bool LinkThreads::StartBiosText() {
    if (stopping_) return false;
    if (!biosText_) biosText_ = std::make_unique<instrument::TOdczytBiosu>(wiring_.BiosTextOutputs());
    if (biosText_->Running()) return false;
    biosText_->Start();
    return true;
}

bool LinkThreads::BiosTextRunning() const { return biosText_ && biosText_->Running(); }

bool LinkThreads::StartSignalMonitor(std::shared_ptr<ISignalSource> source, ISignalMonitorSink& sink) {
    if (stopping_) return false;
    OdczytSygPomiarowego::Start(std::move(source), &sink);
    return true;
}

bool LinkThreads::SignalMonitorRunning() const { return OdczytSygPomiarowego::Running(); }

bool LinkThreads::StartPortSearch(instrument::CheckComSink& owner, instrument::LoaderSpeeds speeds,
                                  instrument::CheckComTimings timings) {
    if (stopping_) return false;
    // The search object of another dialog goes only once its search has ended.
    if (portSearch_) {
        portSearch_->WaitForEnd();
        portSearch_.reset();
    }
    portSearch_ = std::make_unique<instrument::TCheckCom>(owner, speeds, timings);
    portSearchOwner_ = &owner;
    portSearch_->Resume();
    return true;
}

void LinkThreads::AskPortSearchToEnd(instrument::CheckComSink& owner) {
    if (portSearch_ && portSearchOwner_ == &owner) portSearch_->Terminate();
}

void LinkThreads::EndPortSearch(instrument::CheckComSink& owner) {
    if (!portSearch_ || portSearchOwner_ != &owner) return;
    portSearch_.reset();
    portSearchOwner_ = nullptr;
}

bool LinkThreads::PortSearchRunning() const { return portSearch_ && portSearch_->Running(); }

bool LinkThreads::AnyRunning() const {
    return ReadingRunning() || MeteoRunning() || LoaderRunning() || BiosTextRunning() || SignalMonitorRunning() ||
           PortSearchRunning();
}

bool LinkThreads::Stop(int timeoutMs) {
    stopping_ = true;
    if (loader_) loader_->Terminate();
    if (portSearch_) portSearch_->Terminate();
    // An environment thread that has only just started clears the quit event before it waits.
    if (meteo_) meteo_->Terminate();
    ReadingStopped = true;
    MeteoStopped = true;
    SignalMonitorStopped = true;
    if (ReadQuitEvent) ReadQuitEvent->set();
    if (MeteoQuitEvent) MeteoQuitEvent->set();
    return instrument::WaitProcessingEvents([this] { return !AnyRunning(); }, std::chrono::milliseconds(timeoutMs));
}

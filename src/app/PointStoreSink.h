#pragma once
// The point store's side of the acceptance engine's sink: the store routines the engine calls,
// forwarded to the main window's PointStore. The main window's sink derives from this and adds
// the indicators, run ends and motor routines.
#include "evaluation/PointStore.h"
#include "instrument/PointAcceptance.h"

class PointStoreAcceptanceSink : public instrument::AcceptanceSink {
public:
    explicit PointStoreAcceptanceSink(evaluation::PointStore& store) : store_(store) {}

    void StorePositioningPoint(int i, int cycle, double v, bool forward) override {
        store_.StorePositioningPoint(i, cycle, v, forward);
    }
    void FillPositioningGrid(int i, int cycle, double v, bool forward) override {
        store_.FillPositioningGrid(i, cycle, v, forward);
    }
    void StoreStraightnessPoint(double v) override { store_.StoreStraightnessPoint(v); }
    void AddAngularPoint(int i) override { store_.AddAngularPoint(i); }

protected:
    evaluation::PointStore& store_;
};

#include "instrument/PointAcceptance.h"

#include <cmath>

#include "foundations/ProgramMessages.h"

namespace instrument {

namespace {
// Far below any axis position, so that the first point of a cycle passes the distance test.
constexpr double kNoAcceptedValue = -40000.0;
}  // namespace

PointAcceptance::PointAcceptance(AcceptanceSink& sink, TPunkt& targets, TPunkt& angularTargets,
                                 TPunkt& angularPoints, std::atomic<bool>& headAcceptRequest)
    : sink_(sink), targets_(targets), angularTargets_(angularTargets), angularPoints_(angularPoints),
      headRequest_(headAcceptRequest) {}

void PointAcceptance::ResetForCycle(bool resetAcceptState) {
    state.pointIndex = 0;
    state.forwardPass = true;
    state.passFinished = false;
    state.lastAcceptedValue = kNoAcceptedValue;
    state.stableCount = 0;
    if (resetAcceptState) state.acceptState = 0;
}

std::optional<double> PointAcceptance::target(int i) const {
    if (i < 0 || i >= targets_.Count()) return std::nullopt;
    return targets_[i].Dystans;
}

std::optional<double> PointAcceptance::angularTarget(int i) const {
    if (i < 0 || i >= angularTargets_.Count()) return std::nullopt;
    return angularTargets_[i].Dystans;
}

bool PointAcceptance::takeRequest() {
    const bool head = headRequest_.exchange(false);
    const bool manual = state.manualAcceptRequest;
    state.manualAcceptRequest = false;
    return head || manual;
}

double PointAcceptance::AcceptPositioning(int positioningMethod, double currentValue) {
    switch (positioningMethod) {
    case 1: return AcceptPilgrim(currentValue);
    case 2: return AcceptPilgrim2(currentValue);
    default: return AcceptLinear(currentValue);
    }
}

// ---------------------------------------------------------------------------------------------
// Linear pattern: a forward pass over all targets, a backward pass down to the first, then the
// axis goes back to the start point before the next cycle.

double PointAcceptance::AcceptLinear(double currentValue) {
    AcceptanceState& st = state;
    const AcceptanceSettings& s = settings;
    const bool teaching = TeachingCycle();
    const double w = s.errorWindow * 0.001;

    if (currentValue < 0 && st.pointIndex > 0 && st.forwardPass) sink_.SpeedButtonZnakClick();
    const double v = s.startPoint + currentValue;
    const std::optional<double> t = target(st.pointIndex);

    if (std::fabs(st.lastAcceptedValue - v) * 1000 > s.vibration) {
        sink_.ShowAccepted(false);
        if (!teaching && t) sink_.ShowTarget(*t);
    }
    const bool inWindow = teaching || (t && std::fabs(v - *t) < w);
    sink_.ShowInWindow(inWindow && !teaching);
    if (!teaching && targets_.Count() > 0 && v > targets_[targets_.Count() - 1].Dystans + w)
        st.lastAcceptedValue = v;

    bool accept = false;
    if (!s.manualAccept) {
        if (std::fabs(st.lastAcceptedValue - v) * 1000 <= s.pointDistance ||
            std::fabs(st.lastValue - v) * 1000 >= s.vibration) {
            st.stableCount = 0;
            st.lastValue = v;
        } else if (inWindow) {
            ++st.stableCount;
        } else {
            st.lastAcceptedValue = v;
        }
        if (st.stableCount >= std::max<uint32_t>(s.pointNumber, 1)) {
            accept = true;
            st.stableCount = 0;
        }
    } else if (inWindow && (st.manualAcceptRequest || headRequest_.load())) {
        if (st.manualAcceptRequest)
            st.manualAcceptRequest = false;
        else
            headRequest_ = false;
        accept = true;
    }
    if (!accept) return v;

    if (!st.passFinished) {
        const bool turnBack = teaching && v < st.lastAcceptedValue && st.forwardPass;
        // Turning back needs a taught point to drop and one to come back to; with fewer the stop
        // is only a new reference for the distance test.
        if (turnBack && (targets_.Count() < 2 || st.pointIndex < 2)) {
            st.lastAcceptedValue = v;
            return v;
        }
        sink_.MessageBeep();
        if (turnBack) {
            st.forwardPass = false;
            const int count = targets_.Count();
            targets_.Delete(count - 1);
            st.pointIndex -= 2;
            sink_.TurnBack(count - 1, st.pointIndex + 2);
        }
        st.lastAcceptedValue = v;
        sink_.StorePositioningPoint(st.pointIndex, st.currentCycle, v, st.forwardPass);
        if (auto shown = target(st.pointIndex)) sink_.ShowTarget(*shown);
        sink_.ShowAccepted(true);

        if (st.pointIndex < targets_.Count() - 1 || !st.forwardPass || teaching) {
            st.pointIndex += st.forwardPass ? 1 : -1;
        } else {
            if (s.uniDirectional) sink_.SaveBackupCopy();
            st.forwardPass = false;
        }
        if (st.pointIndex < 0) {
            if (s.stopAfterEachCycle || s.manualAccept) {
                sink_.SaveBackupCopy();
            } else {
                st.pointIndex = 0;
                st.passFinished = true;
                sink_.ShowReturnToStart(s.startPoint);
            }
        }
    } else {
        if (std::nearbyint(v) == std::nearbyint(s.startPoint)) {
            st.passFinished = false;
            sink_.HideReturnToStart();
            sink_.SaveBackupCopy();
            if (sink_.PositioningCycleCount() < s.cycleCount) sink_.StartPositioningCycle();
        } else {
            st.lastAcceptedValue = v;
        }
    }
    return v;
}

// ---------------------------------------------------------------------------------------------
// Pilgrim patterns: each point is approached from below and from above, CycleCount times,
// before the next point (pilgrim 2: CycleCount times from below, then CycleCount from above).

double PointAcceptance::AcceptPilgrim(double currentValue) { return AcceptPilgrimCommon(currentValue, 1); }
double PointAcceptance::AcceptPilgrim2(double currentValue) { return AcceptPilgrimCommon(currentValue, 2); }

double PointAcceptance::AcceptPilgrimCommon(double currentValue, int method) {
    AcceptanceState& st = state;
    const AcceptanceSettings& s = settings;
    const double w = s.errorWindow * 0.001;
    const double v = s.startPoint + currentValue;
    const std::optional<double> t = target(st.pointIndex);

    switch (st.acceptState) {
    case 0:
        if (TeachingCycle() && st.forwardPass) {
            st.acceptState = 1;
        } else if (t && std::fabs(v - *t) < w) {
            st.acceptState = 1;
            sink_.ShowInWindow(true);
        }
        st.manualAcceptRequest = false;
        headRequest_ = false;
        break;
    case 1: {
        bool accept = false;
        if (s.manualAccept) {
            accept = takeRequest();
        } else {
            if (std::fabs(st.lastValue - v) * 1000 >= s.vibration) {
                st.stableCount = 0;
                st.lastValue = v;
            } else {
                ++st.stableCount;
            }
            if (st.stableCount >= std::max<uint32_t>(s.pointNumber, 1)) {
                st.stableCount = 0;
                accept = true;
            }
        }
        if (!accept) break;
        if (TeachingCycle() && st.forwardPass) {
            targets_.Add().Dystans = std::nearbyint(v);
            if (auto shown = target(st.pointIndex)) sink_.ShowTarget(*shown);
        }
        sink_.MessageBeep();
        st.lastAcceptedValue = v;
        sink_.FillPositioningGrid(st.pointIndex, st.currentCycle, v, st.forwardPass);
        sink_.ShowAccepted(true);
        sink_.ShowInWindow(false);
        if (method == 1)
            AcceptPilgrimPoint();
        else
            AcceptPilgrim2Point();
        st.acceptState = 4;
        break;
    }
    case 4:
        if (std::fabs(st.lastAcceptedValue - v) * 1000 > s.vibration) {
            sink_.ShowAccepted(false);
            if (!TeachingCycle()) {
                if (auto shown = target(st.pointIndex)) sink_.ShowTarget(*shown);
            }
            const bool above = method == 1 ? st.forwardPass : st.approachBackwardNext;
            st.acceptState = above ? 2 : 3;
        }
        break;
    case 2:
        if (t && (method == 1 ? v - *t > w : std::fabs(v - *t) > w)) {
            st.forwardPass = false;
            st.acceptState = 0;
        }
        break;
    case 3:
        if (TeachingCycle() || (t && std::fabs(v - *t) > w)) {
            st.forwardPass = true;
            st.acceptState = 0;
        }
        break;
    default:
        break;
    }
    return v;
}

void PointAcceptance::advancePilgrimPoint() {
    ++state.pointIndex;
    if (state.pointIndex > targets_.Count() - 1 && settings.pointsFromList)
        sink_.FinishPositioningMeasurement();
    else
        state.currentCycle = 1;
}

void PointAcceptance::AcceptPilgrimPoint() {
    if (state.forwardPass) return;
    if (state.currentCycle >= settings.cycleCount)
        advancePilgrimPoint();
    else
        ++state.currentCycle;
}

void PointAcceptance::AcceptPilgrim2Point() {
    AcceptanceState& st = state;
    st.approachBackwardNext = false;
    if (st.forwardPass) {
        if (st.currentCycle >= settings.cycleCount) {
            st.approachBackwardNext = true;
            st.currentCycle = 1;
        } else {
            ++st.currentCycle;
        }
    } else if (st.currentCycle >= settings.cycleCount) {
        advancePilgrimPoint();
        st.currentCycle = 1;
    } else {
        ++st.currentCycle;
        st.approachBackwardNext = true;
    }
}

// ---------------------------------------------------------------------------------------------
// Straightness and flatness lines: points are accepted on request (head key, button, timer).

void PointAcceptance::AcceptStraightness(double v) {
    AcceptanceState& st = state;
    if (headRequest_.exchange(false)) st.manualAcceptRequest = true;
    if (std::fabs(st.lastValue - v) * 10 > settings.moveThreshold)
        sink_.ShowStraightnessInfo(Msg(QStringLiteral("stZaliczPunkt")) + QLatin1Char(' ') +
                                   QString::number(st.acceptedPointCount + 1) + QLatin1Char('.'));
    if (!st.manualAcceptRequest) return;
    ++st.acceptedPointCount;
    sink_.ShowStraightnessInfo(FillPlaceholder(Msg(QStringLiteral("stPunktZaliczony")), st.acceptedPointCount));
    st.moveHintPhase = false;
    sink_.StartStraightnessTimer();
    sink_.MessageBeep();
    st.lastValue = v;
    st.manualAcceptRequest = false;
    sink_.StoreStraightnessPoint(v);
    if (settings.autoEndLine && st.acceptedPointCount >= settings.straightnessPointCount) sink_.EndMeasurementRun();
}

// ---------------------------------------------------------------------------------------------
// Angular divisions: the reflector is turned by one division, the reading settles (or the user
// accepts), then the reflector is driven back to zero before the next division.

void PointAcceptance::AcceptAngular(double v) {
    AcceptanceState& st = state;
    const AcceptanceSettings& s = settings;
    if (st.awaitingRotation) {
        if (sink_.MotorToTarget(s.rotationDirection, st.rotationStartValue, v)) {
            st.awaitingRotation = false;
            sink_.RestartCounting();
            sink_.ShowAngularInfo(st.pointIndex != 0 ? Msg(QStringLiteral("stWykonajObrot")) : QString());
            st.lastValue = 0;
        }
        return;
    }
    const std::optional<double> a = angularTarget(st.pointIndex);
    if (!a) return;  // every division is done
    if (std::fabs(st.lastValue - v) > s.vibrationPK) sink_.ShowAngularInfo(QString());
    const std::optional<double> previous = angularTarget(st.pointIndex - 1);
    const double step = previous ? *a - *previous : *a;
    const bool inWindow = !previous || std::fabs(v - step * 3600) < s.errorWindowPK;

    if (inWindow && std::fabs(st.lastValue - v) < s.vibrationPK && !s.manualAcceptPK) {
        ++st.stableCount;
    } else {
        st.stableCount = 0;
        st.lastValue = v;
    }
    const bool settled = !s.manualAcceptPK && st.stableCount >= std::max<uint32_t>(s.pointNumberPK, 1);
    if (!settled && !st.manualAcceptRequest) return;

    st.manualAcceptRequest = false;
    sink_.MessageBeep();
    st.stableCount = 0;
    st.angleBase += v;
    TPunktItem& p = angularPoints_.Add();
    p.Dystans = *a;
    p.Xa = v - step * 3600;
    p.Xr = st.angleBase - *a * 3600;
    sink_.AddAngularPoint(st.pointIndex);
    sink_.ShowAngularInfo(Msg(QStringLiteral("stCzekajOdb")));
    st.rotationStartValue = 0.0;
    st.awaitingRotation = true;
    ++st.pointIndex;
    if (st.pointIndex > angularTargets_.Count() - 1) sink_.FinishAngularMeasurement();
}

}  // namespace instrument

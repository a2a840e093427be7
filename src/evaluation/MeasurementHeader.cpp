#include "evaluation/MeasurementHeader.h"

#include <stdexcept>

#include "foundations/Cp1250.h"

namespace {

// Field order and capacities of the stored record.
template <class F>
void forEachField(TMeasurementHeader& h, F&& f) {
    using H = TMeasurementHeader;
    f(h.MachineType, H::MachineTypeCap);
    f(h.SerialNumber, H::SerialNumberCap);
    f(h.Operator, H::OperatorCap);
    f(h.Company, H::CompanyCap);
    f(h.Date, H::DateCap);
    f(h.Axis, H::AxisCap);
    f(h.AirTemperature, H::AirTemperatureCap);
    f(h.MaterialTemperature, H::MaterialTemperatureCap);
    f(h.Humidity, H::HumidityCap);
    f(h.Pressure, H::PressureCap);
    f(h.ReferenceTemperature, H::ReferenceTemperatureCap);
    f(h.Feed, H::FeedCap);
    for (auto& note : h.Notes) f(note, H::NoteCap);
}

}  // namespace

QString CutShortString(const QString& text, int capacity) {
    // One code page 1250 byte per character.
    return text.left(capacity);
}

QByteArray TMeasurementHeader::toBytes() const {
    QByteArray out(Size, '\0');
    int pos = 0;
    TMeasurementHeader copy = *this;
    forEachField(copy, [&](QString& field, int cap) {
        QByteArray b = foundations::toCp1250(field).left(cap);
        out[pos] = static_cast<char>(b.size());
        for (int i = 0; i < b.size(); ++i) out[pos + 1 + i] = b[i];
        pos += cap + 1;
    });
    return out;
}

TMeasurementHeader TMeasurementHeader::fromBytes(const QByteArray& bytes) {
    if (bytes.size() < Size) throw std::invalid_argument("measurement header too short");
    TMeasurementHeader h;
    int pos = 0;
    forEachField(h, [&](QString& field, int cap) {
        const int len = std::min<int>(static_cast<unsigned char>(bytes[pos]), cap);
        field = foundations::fromCp1250(bytes.mid(pos + 1, len));
        pos += cap + 1;
    });
    return h;
}

void TMeasurementHeader::CutToCapacity() {
    forEachField(*this, [](QString& field, int cap) {
        field = foundations::fromCp1250(foundations::toCp1250(field).left(cap));
    });
}

void ApplyMeasurementHeader(TMeasurementHeader& Target, const TMeasurementHeader& Source) {
    Target = Source;
    Target.CutToCapacity();
}

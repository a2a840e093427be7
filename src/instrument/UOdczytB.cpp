#include "instrument/UOdczytB.h"

#include <QByteArray>

#include "foundations/Cp1250.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"

namespace instrument {

namespace {
void handOff(const std::function<void()>& f) {
    static_cast<void (*)(const std::function<void()>&)>(&instrument::RunOnUiThread)(f);
}
}  // namespace

BiosTextSink::~BiosTextSink() = default;

TOdczytBiosu::TOdczytBiosu(BiosTextSink& sink) : sink_(sink) {}

TOdczytBiosu::~TOdczytBiosu() = default;

void TOdczytBiosu::Start() {
    worker_.start([this](uint64_t) { Execute(); });
}

void TOdczytBiosu::Execute() {
    bool textMode = false;
    handOff([&] {
        sink_.ClearList(LinkList::PSListBox1);
        sink_.ClearList(LinkList::PSListBox2);
        sink_.AddListLine(LinkList::PSListBox1, QStringLiteral("Odczyt Biosu"));
        textMode = TextLineMode;
        TextLineMode = false;
    });
    if (!textMode) return;
    QByteArray line;
    auto addLine = [&] {
        const QString text = foundations::fromCp1250(line);
        handOff([&] { sink_.AddListLine(LinkList::PSListBox2, text); });
        line.clear();
    };
    for (int i = 0; i < kBiosTextLength; ++i) {
        uint8_t b = 0;
        if (!ReadDataByte(b)) {
            // The card stopped sending: keep what came, and do not wait out the rest byte by byte.
            if (!line.isEmpty()) addLine();
            return;
        }
        if (b == 13)
            addLine();
        else if (b != 10)
            line.append(static_cast<char>(b));
    }
    addLine();
}

}  // namespace instrument

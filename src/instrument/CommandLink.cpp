#include "instrument/CommandLink.h"

#include "instrument/LinkPort.h"

namespace {

class LayerLink final : public ICommandLink {
public:
    void SendCommandByte(uint8_t b) override { ::SendCommandByte(b); }
};

}  // namespace

ICommandLink& RealCommandLink() {
    static LayerLink link;
    return link;
}

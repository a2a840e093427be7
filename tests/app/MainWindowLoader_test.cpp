// The main window as the firmware loader's sink: what a failed load shows and leaves behind.
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <vector>

#include "MainWindowFixture.h"
#include "instrument/LinkPort.h"
#include "instrument/SerialFrameParser.h"
#include "support/SimCard.h"

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

QStringList items(const QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i) out << l->item(i)->text();
    return out;
}

class MainWindowLoader : public MainWindowTest {
protected:
    void TearDown() override {
        // The window's own link again before it sends its closing command.
        if (form()) form()->ConfigureLink();
        MainWindowTest::TearDown();
    }
    bool errorBoxShown(const QString& text) const {
        for (const MessageDlgRequest& r : messages)
            if (r.text == text && r.type == TMsgDlgType::mtError) return true;
        return false;
    }
    testsupport::SimCard card;
};

TEST_F(MainWindowLoader, MissingCardFirmwareShowsItsFailureAndLeavesAnInterfaceError) {
    start();
    TMainForm* f = form();
    InterfaceMode = 0;
    InterfaceError = false;
    // A card without its program and with a good BIOS, inviting the load after each reset;
    // pauses take no time.
    card.setAnswer(HeadCommand::ProgramTest, 0, 0);
    card.setAnswer(HeadCommand::BiosTest, 22, '!');
    card.setOnCommand([](testsupport::SimCard& c, uint8_t cmd) {
        if (cmd != HeadCommand::BiosReset) return;
        std::vector<uint8_t> text(226, 'b');
        text.push_back('M');
        text.push_back(0xB1);
        c.queueData(text);
    });
    instrument::SetLink({nullptr, &card, nullptr, LinkClock{[] { return 0u; }, [](int) {}}});

    f->StartProgramLoad();
    ASSERT_NE(f->ProgramLoader, nullptr);
    ASSERT_TRUE(f->ProgramLoader->WaitForEnd(std::chrono::seconds(10)));
    QCoreApplication::processEvents();

    const QString failure = u("Brak pliku programu interfejsu: ") + dir.filePath("l_system.hex");
    EXPECT_EQ(f->ProgramLoader->Result().outcome, instrument::LoadOutcome::Failed);
    EXPECT_TRUE(errorBoxShown(failure));
    EXPECT_TRUE(InterfaceError.load());
    EXPECT_EQ(LoadProgramMessage, failure);
    EXPECT_EQ(items(f->PSListBox2), (QStringList{u("Bios sprawdzony"), u("Wysyłanie programu.")}));
    // Nothing of the file was sent after the handshake.
    EXPECT_EQ(card.commands(), (std::vector<uint8_t>{0x88, 'T', 'P'}));
}

TEST_F(MainWindowLoader, SerialLoadWithoutAnOpenPortIsAnInterfaceError) {
    start();
    TMainForm* f = form();
    InterfaceMode = 1;
    InterfaceError = false;
    f->RSButton_Polacz->setEnabled(true);  // the port is not open

    f->StartProgramLoad();
    ASSERT_TRUE(f->ProgramLoader->WaitForEnd(std::chrono::seconds(10)));
    QCoreApplication::processEvents();

    EXPECT_TRUE(InterfaceError.load());
    EXPECT_EQ(f->BaudRateIndex, 6);
    EXPECT_EQ(f->AltBaudRateIndex, 11);
}

}  // namespace

// The clipboard against a real X server: what a restore puts back must reach other programs,
// which read it through the X selection that this process then owns and serves.
#include "WindowTesting.h"
#include "core/facade/FacadeFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <cstdlib>
#include <memory>

namespace kvt {
namespace {

const auto *const kApplication = testing::AddGlobalTestEnvironment(new test::WindowApplication);

constexpr int kWaitMs = 20000;

// The peer program, started and waited for on this process's event loop, so that this process
// keeps answering the peer's requests for the clipboard it owns.
class Peer {
public:
    explicit Peer(const QStringList &arguments) {
        mProcess.setProgram(TALVIO_CLIPBOARD_PEER);
        mProcess.setArguments(arguments);
        mProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        mProcess.start();
    }
    ~Peer() {
        mProcess.closeWriteChannel();
        if (!QTest::qWaitFor([&] { return mProcess.state() == QProcess::NotRunning; }, kWaitMs))
            mProcess.kill();
        mProcess.waitForFinished(kWaitMs);
    }
    Peer(const Peer &) = delete;
    Peer &operator=(const Peer &) = delete;

    // The next line the peer prints, empty when none comes in time.
    std::string line() {
        if (!QTest::qWaitFor([&] { return mProcess.canReadLine(); }, kWaitMs))
            return {};
        return mProcess.readLine().trimmed().toStdString();
    }

private:
    QProcess mProcess;
};

// The text and HTML on the X clipboard, as another program reads them.
std::string readByAnotherProgram() {
    Peer reader({"read"});
    const std::string text = reader.line();
    return text + " | " + reader.line();
}

struct Owner {
    const char *name;
    bool anotherProgram; // else this process put the user's clipboard
};

const Owner kOwners[] = {{"thisProcess", false}, {"anotherProgram", true}};

using ClipboardX11 = test::FacadeFixture;

TEST_F(ClipboardX11, restoredClipboardReachesOtherPrograms) {
    if (std::getenv("TALVIO_XVFB_MISSING"))
        GTEST_SKIP() << "xvfb-run is missing: install the Debian packages xvfb and xauth to run "
                        "the clipboard against a real X server";
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    for (const Owner &row : kOwners) {
        SCOPED_TRACE(row.name);
        std::unique_ptr<Peer> owner;
        if (row.anotherProgram) {
            owner = std::make_unique<Peer>(QStringList{"own", "40,34 EUR", "<b>40,34</b> EUR"});
            ASSERT_EQ(owner->line(), "owned");
        } else {
            auto *data = new QMimeData;
            data->setText("40,34 EUR");
            data->setHtml("<b>40,34</b> EUR");
            QApplication::clipboard()->setMimeData(data);
        }
        KVTMain facade;

        facade.ClipboardSave();
        EXPECT_TRUE(facade.clipboardStore().present[6]) << "plain text";
        EXPECT_EQ(facade.clipboardStore().saved[6], "40,34 EUR");
        facade.ClipboardClear();
        EXPECT_EQ(readByAnotherProgram(), "text/plain= | text/html=");
        facade.ClipboardRestore();

        EXPECT_EQ(readByAnotherProgram(), "text/plain=40,34 EUR | text/html=<b>40,34</b> EUR");
    }
}

} // namespace
} // namespace kvt

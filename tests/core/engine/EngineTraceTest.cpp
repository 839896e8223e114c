#include "model/DG.h"
#include "model/ISO.h"
#include "model/MemorySettingsBackend.h"
#include "model/Registry.h"
#include "support/ConversionFixture.h"
#include "support/RecordingViewer.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

using Log = std::vector<std::string>;

class EngineTrace : public test::ConversionFixture {
protected:
    void SetUp() override {
        ConversionFixture::SetUp();
        viewers.install();
        change.setTrace(trace);
        registry->setProjectName("Talvio");
        setSharedRegistry(registry);
    }
    void TearDown() override {
        setSharedRegistry(nullptr);
        setTraceViewerFactory(nullptr);
        releaseSharedDG();
        ConversionFixture::TearDown();
    }

    std::shared_ptr<Registry> registry =
        std::make_shared<Registry>(std::make_shared<MemorySettingsBackend>());
    std::shared_ptr<KVTBug> trace = std::make_shared<KVTBug>();
    test::RecordingViewers viewers;
};

TEST_F(EngineTrace, projectNameSwitchesTracingFromTheStoredEngineSwitch) {
    struct Row {
        const char *stored; // "" for a missing value
        bool on;
    };
    const Row rows[] = {{"", false}, {"OFF", false}, {"on", true}, {"ON", true}, {"yes", false}};
    for (const Row &row : rows) {
        registry->SetReg("ENGINE", "DEBUGCHANGE", row.stored);
        trace->setActive(!row.on);
        change.setProjectName("Talvio");
        EXPECT_EQ(trace->Active(), row.on) << row.stored;
    }
    EXPECT_EQ(registry->strGetSetting("ENGINE", "DEBUGCHANGE", "?"), "yes");
    EXPECT_EQ(*viewers.log, (Log{"Title Change", "Title Change"}));
}

TEST_F(EngineTrace, conversionDetailIsOneTracedFunctionEvenWhenItFails) {
    auto dg = std::make_shared<DG>();
    dg->setDeviseFrom("USD");
    dg->setDeviseTo("GBP");
    dg->setDevFormat("X.XX");
    change.setGeneralSettings(dg);
    trace->setActive(true);
    ConversionDetail from;
    ConversionDetail to;
    double rate = 0;
    change.ColISO()->Item("USD")->ColTaux()->Remove("GBP"); // the detail fails on the way
    change.UpdateTaux(100, from, to, "USD", "GBP", rate, Legal, "X.XX");
    // The conversion reports its own failure; the rate that follows ends the detail.
    EXPECT_EQ(failuresShown(), 2u);
    EXPECT_NE(lastFailure().find("(UpdateTaux)"), std::string::npos) << lastFailure();
    EXPECT_EQ(*viewers.log, (Log{"FctBegin UpdateTaux -> 1", "FctEnd 1 "}));
}

} // namespace
} // namespace kvt

// olvenar-report --check-update and tools/make-manifest as their users run them.

#include "settings/OlvenarRegistryClass.h"
#include "update/UpdateFixture.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

class CheckUpdateTool : public test::UpdateFixture {
protected:
    // The settings file is the fixture's own, so the test reads what the tool wrote.
    test::ToolRun Run(const std::vector<std::string>& environment = {}) const {
        std::vector<std::string> settings = environment;
        settings.insert(settings.end(),
                        {"OLVENAR_HOME=" + dir.Folder(), "OLVENAR_CONFIG_DIR=" + dir.File("config"),
                         "OLVENAR_SHIPPED_DATA=" OLVENAR_DATA_DIR});
        return test::RunTool("olvenar-report", {"--check-update"}, settings, dir.Folder());
    }
};

TEST_F(CheckUpdateTool, FetchesScriptsAndOnlyReportsACatalogueWhenNoOneCanBeAsked) {
    Publish("2.0", "1.1");
    InstallLocal("1.0", "1.0");
    const test::ToolRun run = Run();
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "A program update taking less than 1 minute to download is available. "
                       "Would you like to download this update now? No (no one to answer)\n"
                       "OVDef.chl: revision 2.0 is available (1.0 here) and was left.\n"
                       "Olvenar.chl: updated from revision 1.0 to 1.1.\n");
    EXPECT_EQ(dir.Read("Olvenar.chl"), Published("Olvenar.chl"));
    EXPECT_EQ(dir.Read("OVDef.chl"), Catalogue("1.0"));
    // It checked for the window: the window's first-run question is no longer needed.
    store.Reload();
    EXPECT_FALSE(OlvenarRegistryClass(store).IsFirstTimeDownload());
}

TEST_F(CheckUpdateTool, SaysWhatWentWrongInItsExitStatus) {
    Publish("1.0", "1.0", "1.30");
    InstallLocal("1.0", "1.0");
    const test::ToolRun newer = Run();
    EXPECT_EQ(newer.Status, 0) << newer.Err;
    EXPECT_NE(newer.Out.find("Olvenar 1.30 is available at " +
                             server.Url("/updates/Olvenar/download.html") + " (this is 1.27)"),
              std::string::npos)
        << newer.Out;

    Serve("Master.chl.sig", test::HttpTestResponse::Ok(std::string(64, 'x')));
    const test::ToolRun refused = Run();
    EXPECT_EQ(refused.Status, 1);
    EXPECT_EQ(refused.Err, "The update of Master.chl was refused: its signature does not match\n");

    const test::ToolRun none = Run({"OLVENAR_UPDATE_URL="});
    EXPECT_EQ(none.Status, 1);
    EXPECT_EQ(none.Err, "This build of Olvenar has no update server.\n");
}

TEST_F(CheckUpdateTool, PublishingRefusesAFileWithoutARevision) {
    const test::TempDir data;
    data.Write("OVDef.chl", Catalogue("1.0"));
    data.Write("Olvenar.chl", "<WUFore>script|end|</WUFore>\r\n");
    const test::ToolRun run =
        MakeManifest({"--key", privateKey, "--data", data.Folder(), "--out", site.Folder()});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "make-manifest: Olvenar.chl has no <Revision> tag in its first six lines\n");
    EXPECT_FALSE(FileExists(site.File("Master.chl")));
}

} // namespace
} // namespace olv

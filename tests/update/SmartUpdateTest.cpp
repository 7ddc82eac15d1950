// The update check against a real update server: a folder made and signed by the publishing tool,
// served over HTTPS on loopback. The person at the window is a transcript that answers in turn.

#include "platform/ProcessMessages.h"
#include "settings/OlvenarRegistryClass.h"
#include "update/ProgramUpdater.h"
#include "update/UpdateFixture.h"
#include "update/UpdateRevision.h"
#include "update/UpdateServer.h"
#include "util/Strings.h"
#include "util/UtilsClass.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace olv {
namespace {

using test::HttpTestResponse;

const std::string kFileQuestion = "? A program update taking less than 1 minute to download is "
                                  "available.\nWould you like to download this update now?";
const std::string kDownloadNow =
    "? A program update is available, would you like to download it now?";
const std::string kAnnouncements = "? Would you like to see upgrade announcements in the future?";
const std::string kRestart = "! You must exit and restart program for some changes to take effect.";
const std::string kComplete = "! Updates Complete";
const std::string kNothingNew = "! No updates available at this time.";
const std::string kNewVersion =
    "! Version: 1.30 of Olvenar is now available at\nPAGE\n"
    "Click OK and we will attempt\nto launch your browser to this page.";
const std::string kPageOpened = "> PAGE";
const std::string kFirstRun = std::string("? ") + ProgramUpdater::kFirstRunQuestion;

// What the person saw and answered, in order: "? question", "! message", "> page opened".
struct Person {
    std::vector<std::string> seen;
    std::deque<bool> answers;
    int openDialogs = 0;

    SmartUpdateHost Host() {
        SmartUpdateHost host;
        host.Message = [this](const std::string& text) { seen.push_back("! " + text); };
        host.Ask = [this](const std::string& question, bool unattended) {
            seen.push_back("? " + question);
            if (answers.empty())
                return unattended;
            const bool answer = answers.front();
            answers.pop_front();
            return answer;
        };
        host.OpenPage = [this](const std::string& page) { seen.push_back("> " + page); };
        host.ShowProgress = [this](const std::string&) { ++openDialogs; };
        host.CloseProgress = [this] { --openDialogs; };
        return host;
    }
};

class SmartUpdate : public test::UpdateFixture {
protected:
    SmartUpdate() { settings.LoadAll(); }

    // Files in the program folder that a check must never leave behind (downloads under way).
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            const std::string name = entry.path().filename().string();
            if (name != "config" && !EndsWith(name, ".chl") && !EndsWith(name, ".bak"))
                names.push_back(name);
        }
        return names;
    }

    OlvenarRegistryClass settings{store};
    Person person;
};

// A row: the revisions of the catalogue and the script and the program version on the server
// (locally 1.0, 1.0 and 1.27); what is spoilt ("Olvenar.chl:404", ":tampered", ":cut" to half
// its length, or "key" for another signer); the answers in turn; what the person sees; which
// files are replaced ("c" catalogue, "s" script); "ShowUpgradeNotice" before and after; and
// another outcome that is as good.
struct CheckCase {
    const char* name;
    const char* server;
    const char* spoilt;
    bool silent;
    const char* answers;
    std::vector<std::string> seen;
    std::string replaced;
    const char* noticeBefore = "";
    const char* noticeAfter = "";
    std::vector<std::string> orSeen = {};
};

class SmartUpdateCheck : public SmartUpdate, public ::testing::WithParamInterface<CheckCase> {
protected:
    void Spoil(const std::string& what) {
        if (what == "key") {
            test::MakeKeyPair(keys.File("other.pem"), keys.File("other.pub.pem"));
            ::setenv("OLVENAR_UPDATE_PUBLIC_KEY", keys.File("other.pub.pem").c_str(), 1);
            return;
        }
        const std::string name = what.substr(0, what.find(':')), how = what.substr(name.size());
        HttpTestResponse response = HttpTestResponse::Ok(Published(name));
        if (how == ":404")
            response = HttpTestResponse::Status(404, "Not Found");
        else if (how == ":cut")
            response.body.resize(response.body.size() / 2);
        else if (how == ":tampered")
            response = HttpTestResponse::Ok(Published(name) + "<Run>script|geturl 'x'|</Run>\r\n");
        Serve(name, response);
    }
};

TEST_P(SmartUpdateCheck, ReplacesOnlyWhatIsNewerAndProvenOurs) {
    const CheckCase& c = GetParam();
    std::istringstream revisions(c.server);
    std::string catalogue, script, program;
    revisions >> catalogue >> script >> program;
    Publish(catalogue, script, program);
    InstallLocal("1.0", "1.0");
    const std::string localManifest = dir.Read("Master.chl");
    settings.WriteExeValue("ShowUpgradeNotice", c.noticeBefore);
    if (*c.spoilt)
        Spoil(c.spoilt);
    for (const char* answer = c.answers; *answer; ++answer)
        person.answers.push_back(*answer == 'y');

    ProgramUpdater updater(settings, person.Host());
    c.silent ? updater.CheckSilently() : updater.CheckNow();

    for (std::string& line : person.seen) // the download page is named PAGE in the rows
        line = UtilsClass::ReplaceAll(line, server.Url("/updates/Olvenar/download.html"), "PAGE");
    EXPECT_EQ(person.seen, !c.orSeen.empty() && person.seen == c.orSeen ? c.orSeen : c.seen);
    EXPECT_EQ(person.openDialogs, 0);
    // What is not replaced stays byte for byte; what is replaced keeps its old copy.
    const bool newCatalogue = c.replaced.find('c') != std::string::npos;
    const bool newScript = c.replaced.find('s') != std::string::npos;
    EXPECT_EQ(dir.Read("OVDef.chl"), newCatalogue ? Published("OVDef.chl") : Catalogue("1.0"));
    EXPECT_EQ(dir.Read("Olvenar.chl"), newScript ? Published("Olvenar.chl") : Script("1.0"));
    EXPECT_EQ(FileExists(dir.File("OVDef.chl.bak")), newCatalogue);
    EXPECT_EQ(newScript ? dir.Read("Olvenar.chl.bak") : Script("1.0"), Script("1.0"));
    const bool manifestSpoilt = StartsWith(c.spoilt, "Master") || StartsWith(c.spoilt, "key");
    EXPECT_EQ(dir.Read("Master.chl"), manifestSpoilt ? localManifest : Published("Master.chl"));
    EXPECT_EQ(settings.ReadExeValue("ShowUpgradeNotice"), c.noticeAfter);
    EXPECT_EQ(Leftovers(), std::vector<std::string>());
}

const std::string kScriptRefused =
    "! The update of Olvenar.chl was refused: its signature does not match";
const std::string kManifestRefused =
    "! The update of Master.chl was refused: its signature does not match";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, SmartUpdateCheck, ::testing::Values(
    // 1.00 on the server is the 1.0 here.
    CheckCase{"NothingNewer", "1.00 1.0 1.27", "", false, "", {kNothingNew}, ""},
    CheckCase{"NewerScriptSilently", "1.0 1.1 1.27", "", true, "", {}, "s"},
    CheckCase{"NewerCatalogueAccepted", "2.0 1.1 1.27", "", false, "y", {kFileQuestion, kRestart},
              "cs"},
    CheckCase{"NewerProgram", "2.0 1.1 1.30", "", false, "", {kNewVersion, kPageOpened}, ""},
    CheckCase{"NewerProgramSilentlyWanted", "2.0 1.1 1.30", "", true, "y",
              {kDownloadNow, kNewVersion, kPageOpened}, ""},
    CheckCase{"NewerProgramSilentlyDeclinedForGood", "2.0 1.1 1.30", "", true, "nn",
              {kDownloadNow, kAnnouncements}, "", "", "No"},
    CheckCase{"NewerProgramAnnouncementsOff", "2.0 1.1 1.30", "", true, "", {}, "", "No", "No"},
    CheckCase{"ManifestMissing", "2.0 1.1 1.27", "Master.chl:404", false, "",
              {"! Unable to retrieve Master.chl"}, ""},
    CheckCase{"ManifestMissingSilently", "2.0 1.1 1.27", "Master.chl:404", true, "", {}, ""},
    CheckCase{"ManifestTampered", "2.0 1.1 1.27", "Master.chl:tampered", false, "",
              {kManifestRefused}, ""},
    CheckCase{"WrongKey", "2.0 1.1 1.27", "key", false, "", {kManifestRefused}, ""},
    // A failed file says so and the check goes on with the next.
    CheckCase{"CatalogueMissing", "2.0 1.1 1.27", "OVDef.chl:404", false, "y",
              {kFileQuestion, "! Unable to retrieve OVDef.chl", kComplete}, "s"},
    // A refused file is no reason to say that the updates are complete.
    CheckCase{"ScriptTampered", "1.0 1.1 1.27", "Olvenar.chl:tampered", false, "",
              {kScriptRefused}, ""},
    CheckCase{"ScriptTruncated", "1.0 1.1 1.27", "Olvenar.chl:cut", true, "",
              {"! Unable to retrieve Olvenar.chl"}, "", "", "", {kScriptRefused}}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(SmartUpdate, FirstRunAsksUntilAManifestHasArrived) {
    Publish("1.0", "1.0");
    InstallLocal("1.0", "1.0");
    ProgramUpdater updater(settings, person.Host());
    Serve("Master.chl", HttpTestResponse::Status(503, "Service Unavailable"));
    person.answers = {true, true};
    EXPECT_TRUE(updater.OfferFirstRunCheck());
    Serve("Master.chl", HttpTestResponse::Ok(Published("Master.chl")));
    EXPECT_TRUE(updater.OfferFirstRunCheck());
    EXPECT_FALSE(updater.OfferFirstRunCheck());
    updater.CheckNow();

    EXPECT_EQ(person.seen, std::vector<std::string>({kFirstRun, "! Unable to retrieve Master.chl",
                                                     kFirstRun, kNothingNew, kNothingNew}));
    // Once a manifest has arrived the first-time marker goes (the window's test checks it is
    // sent at first).
    const std::vector<std::string> requests = Requests();
    EXPECT_EQ(
        std::count(requests.begin(), requests.end(), "/updates/chls/Master.chl?product=Olvenar"),
        1);
}

TEST_F(SmartUpdate, CancelEndsTheTransferAndTheCheckLeavingTheFilesAsTheyWere) {
    Publish("1.0", "1.1");
    InstallLocal("1.0", "1.0");
    HttpTestResponse slow = HttpTestResponse::Ok(Published("Olvenar.chl"));
    slow.pieceSize = 8;
    slow.delayBetweenPieces = std::chrono::milliseconds(100);
    Serve("Olvenar.chl", slow);
    // The dialog's Cancel arrives with the pending events while the file is half received.
    bool halfway = false;
    SmartUpdateHost host = person.Host();
    host.Progress = [&](const std::string& caption) {
        halfway = halfway || (StartsWith(caption, "Received 8 of ") && Requests().size() == 3);
    };
    ProgramUpdater updater(settings, host);
    const auto previous = SetProcessMessagesHook([&] {
        if (halfway)
            updater.Cancel();
    });
    updater.CheckNow();
    SetProcessMessagesHook(previous);

    ASSERT_TRUE(halfway);
    EXPECT_EQ(person.seen, std::vector<std::string>());
    EXPECT_EQ(person.openDialogs, 0);
    EXPECT_EQ(updater.LastOutcome().Files.back().State, FileOutcome::Result::Cancelled);
    EXPECT_EQ(dir.Read("Olvenar.chl"), Script("1.0"));
    EXPECT_EQ(Leftovers(), std::vector<std::string>());
}

TEST_F(SmartUpdate, AutomaticCheckAboutOneRefreshInTenAtMostOnceADay) {
    Publish("1.0", "1.0");
    InstallLocal("1.0", "1.0");
    ProgramUpdater updater(settings, person.Host());
    const int64_t leapDay = BaseSmartUpdateClass::DayNumber(2024, 2, 29);
    const int digits[] = {0, 1, 1, 9, 1};
    const int64_t days[] = {leapDay, leapDay, leapDay, leapDay + 1, leapDay + 1};
    const bool checks[] = {false, true, false, false, true};
    for (size_t i = 0; i < std::size(checks); ++i) {
        updater.RandomDigit = [&] { return digits[i]; };
        updater.Today = [&] { return days[i]; };
        EXPECT_EQ(updater.AutoCheckIfDue(), checks[i]) << "step " << i;
    }
    EXPECT_EQ(settings.ReadExeValue("AutoUpdateDate"), Decimal(leapDay + 1));
    EXPECT_EQ(person.seen, std::vector<std::string>());
    // Days are counted from 1 January of year 1.
    EXPECT_EQ(BaseSmartUpdateClass::DayNumber(2000, 1, 1), 730119);
}

// olvenar-report --check-update as its users run it.
class CheckUpdateTool : public test::UpdateFixture {
protected:
    // The settings file is the fixture's own, so the test reads what the tool wrote.
    test::ToolRun Run() const {
        return test::RunTool("olvenar-report", {"--check-update"},
                             {"OLVENAR_HOME=" + dir.Folder(),
                              "OLVENAR_CONFIG_DIR=" + dir.File("config"),
                              "OLVENAR_SHIPPED_DATA=" OLVENAR_DATA_DIR},
                             dir.Folder());
    }
};

// Unattended, it fetches scripts and only reports a catalogue; a refusal fails the run.
TEST_F(CheckUpdateTool, FetchesScriptsReportsACatalogueAndFailsOnARefusal) {
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

    Serve("Master.chl.sig", HttpTestResponse::Ok(std::string(64, 'x')));
    const test::ToolRun refused = Run();
    EXPECT_EQ(refused.Status, 1);
    EXPECT_EQ(refused.Err, "The update of Master.chl was refused: its signature does not match\n");
}

TEST(UpdateRules, RevisionsAreDecimalNumbersAndPlainHttpOnlyServesThisComputer) {
    EXPECT_FALSE(IsNewerRevision("1.10", "1.9")); // numbers, not version strings
    EXPECT_TRUE(IsNewerRevision(" 0.1 ", "1,5")); // what does not parse counts as 0
    EXPECT_FALSE(IsNewerRevision("nan", "0"));
    std::string problem;
    for (const char* address : {"https://olvenar.example", "HTTP://127.0.0.1:8000",
                                "http://localhost/u", "http://[::1]:80"})
        EXPECT_TRUE(IsUpdateAddressAllowed(address, problem)) << address;
    for (const char* address : {"http://example.org", "http://127.0.0.1.example.org/",
                                "ftp://olvenar.example", "olvenar.example"})
        EXPECT_FALSE(IsUpdateAddressAllowed(address, problem)) << address;
}

} // namespace
} // namespace olv

// Retrieving, showing, choosing and updating cities, against the weather services played by a
// loopback server, with the real retrieval script and data files in a temporary folder.

#include "app/CitySession.h"

#include "AppTestSupport.h"
#include "app/CityViews.h"
#include "settings/OlvenarRegistryClass.h"

#include <QTimer>
#include <algorithm>

namespace olv {
namespace {

using namespace test;

// CityViews that record the status texts.
struct RecordedViews final : CityViews {
    void ShowCity(const CityDataClass&) override {}
    void SelectCity(int, const std::string&) override {}
    void MyCitiesChanged() override {}
    void ShowStatus(const std::string& text) override { Status.push_back(text); }

    std::vector<std::string> Status;
};

class CitySessionTest : public AppFixture {
protected:
    CitySessionTest() { settings.LoadAll(); }

    void UseMyCities(const std::vector<std::string>& keys) {
        WriteMyCities(keys);
        session.MyCities.Load();
    }
    std::string Stored() const { return home.Read("MyCitiesData.chl"); }
    bool StatusSaid(const std::string& text) const {
        return std::find(views.Status.begin(), views.Status.end(), text) != views.Status.end();
    }

    OlvenarRegistryClass settings;
    RecordedViews views;
    CitySession session{settings, views};
};

TEST_F(CitySessionTest, OnlySuccessfulRetrievalsOfMyCitiesAreStored) {
    UseMyCities({kHagatna, kDededo});
    StoreRecord(kDededo, "Dededo", "70", "Last good weather");

    EXPECT_TRUE(session.Retrieve(kHagatna).Ok());
    EXPECT_NE(Stored().find("<Temperature>77</Temperature>"), std::string::npos);

    session.ShowStoredCity(kHagatna);
    EXPECT_FALSE(session.RetrieveAndShow(kDededo));
    EXPECT_EQ(views.Status.back(), "Could not reach the weather service for Dededo");
    EXPECT_NE(Stored().find("Last good weather"), std::string::npos);
    EXPECT_EQ(session.CurrentCity->FullName, kHagatna); // the city shown stays

    const CitySession::Retrieval atyrau = session.Retrieve(kAtyrau);
    EXPECT_TRUE(atyrau.Ok()) << atyrau.Failure;
    EXPECT_EQ(atyrau.Record.Temperature, "-7");
    EXPECT_EQ(Stored().find("Atyrau"), std::string::npos); // not a My City

    EXPECT_EQ(session.Retrieve("Asia|Japan|Tokyo").Failure,
              "Unable to find location Asia|Japan|Tokyo");
}

TEST_F(CitySessionTest, StopEndsASlowRetrievalAndOthersWaitMeanwhile) {
    serviceDelay = std::chrono::seconds(20);
    bool refused = false;
    QTimer::singleShot(300, [this, &refused] {
        refused = !session.RetrieveAndShow(kAtyrau);
        session.StopRetrieval();
    });
    const auto start = std::chrono::steady_clock::now();
    const CitySession::Retrieval result = session.Retrieve(kHagatna);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(result.Failure, "Retrieval for Hagatna stopped");
    EXPECT_TRUE(refused);
    EXPECT_TRUE(StatusSaid("Please wait: a retrieval is running (Stop ends it)."));
    EXPECT_FALSE(session.IsRetrieving());
}

TEST_F(CitySessionTest, AddingAndRemovingMyCities) {
    UseMyCities({kHagatna});
    session.AddMyCity("");
    session.AddMyCity(kHagatna);
    session.RemoveMyCity("");
    EXPECT_EQ(messages.Told, (std::vector<std::string>{
                                 "Please select a city from the list.",
                                 "Selected city is already in the MyCities List.",
                                 "You must select a city from the MyCities list to remove."}));

    StoreRecord(kAtyrau, "Atyrau", "19", "Overcast");
    session.AddMyCity(kAtyrau);
    EXPECT_EQ(session.MyCities.Keys, (std::vector<std::string>{kAtyrau, kHagatna}));
    session.RemoveMyCity(kAtyrau);
    EXPECT_EQ(session.MyCities.Keys, std::vector<std::string>{kHagatna});
    EXPECT_NE(Stored().find("Overcast"), std::string::npos); // its weather stays stored
}

} // namespace
} // namespace olv

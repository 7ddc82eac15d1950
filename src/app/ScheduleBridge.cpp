#include "app/ScheduleBridge.h"

#include "app/CitySession.h"
#include "app/ReadingCommands.h"
#include "weather/WeatherUtils.h"

namespace olv {

ScheduleBridge::ScheduleBridge(TBaseRegistryClass& settings, const IntroClass& intro,
                               CitySession& cities, ReadingCommands& readings)
    : settings_(settings), intro_(intro), cities_(cities), readings_(readings),
      lastAutoCheck_(WeatherUtils::TimeCodeNow()) {}

bool ScheduleBridge::RandomMode() const {
    return readings_.RandomMode;
}

int ScheduleBridge::ReadingKind() const {
    return readings_.ReadingKind;
}

bool ScheduleBridge::Idle() const {
    return cities_.Idle;
}

const MyCitiesClass& ScheduleBridge::MyCities() const {
    return cities_.MyCities;
}

bool ScheduleBridge::UseMetric() const {
    return cities_.UseMetric;
}

bool ScheduleBridge::RetrieveCity(const std::string& key, CityDataClass& record) {
    CitySession::Retrieval result = cities_.Retrieve(key);
    const bool ok = result.Ok();
    record = ok || !cities_.IsMyCity(key) ? std::move(result.Record) : cities_.StoredRecord(key);
    return ok;
}

void ScheduleBridge::RetrieveMyCities() {
    cities_.UpdateAll();
}

void ScheduleBridge::Speak(const std::string& text, int kind) {
    readings_.Speak(text, kind);
}

void ScheduleBridge::SpeakToFile(const std::string& baseName, const std::string& text, int kind) {
    readings_.SpeakToFile(baseName, text, kind);
}

} // namespace olv

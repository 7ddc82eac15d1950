#pragma once

#include "app/ScheduleHook.h"

namespace olv {

class CitySession;
class ReadingCommands;

// The window's side of the scheduled reading: its cities, readings and scheduling state.
class ScheduleBridge final : public ScheduleHost {
public:
    ScheduleBridge(TBaseRegistryClass& settings, const IntroClass& intro, CitySession& cities,
                   ReadingCommands& readings);

    bool RandomMode() const override;
    int ReadingKind() const override;
    bool Idle() const override;
    int& LastAutoCheck() override { return lastAutoCheck_; }
    int& LastAutoUpdate() override { return lastAutoUpdate_; }
    bool& JustUpdated() override { return justUpdated_; }

    TBaseRegistryClass& Settings() override { return settings_; }
    const MyCitiesClass& MyCities() const override;
    const IntroClass& Intro() const override { return intro_; }
    bool UseMetric() const override;

    bool RetrieveCity(const std::string& key, CityDataClass& record) override;
    void RetrieveMyCities() override;
    void Speak(const std::string& text, int kind) override;
    void SpeakToFile(const std::string& baseName, const std::string& text, int kind) override;

private:
    TBaseRegistryClass& settings_;
    const IntroClass& intro_;
    CitySession& cities_;
    ReadingCommands& readings_;
    int lastAutoCheck_;
    int lastAutoUpdate_ = 0;
    bool justUpdated_ = false;
};

} // namespace olv

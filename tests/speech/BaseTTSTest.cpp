// The speech controller with the real engines and encoder, its settings in a registry file of
// a temporary folder, and files rendered into that folder. The platform timers are a manual
// clock; no sound server is involved (BaseTTSQtTest plays to one).

#include "audio/TMP3Class.h"
#include "speech/ControllerFixture.h"
#include "speech/DocumentsFolder.h"
#include "speech/EttsException.h"
#include "speech/TPreProcessor.h"
#include "support/ManualTimer.h"
#include "support/audio/LameDecode.h"
#include "support/audio/Mp3Info.h"

namespace olv::test {
namespace {

class BaseTTSTest : public ControllerFixture {
protected:
    ~BaseTTSTest() override { speech.reset(); } // while its manual timers are still ticking

    bool Pump(const std::function<bool()>& done) override {
        return WaitUntil(done, [&] { clock.Advance(20); });
    }

    ManualClock clock; // made before any controller, so that its timers are manual
};

// Settings ------------------------------------------------------------------------------------

// The default voice may be one of the user's own, which must then be found again.
TEST_F(BaseTTSTest, SettingsStartFromTheirDefaultsAndSurviveARestart) {
    TBaseTTS& first = Start();
    EXPECT_EQ(first.OutputFormat() + "|" + first.RealTimeText() + "|" + first.MP3Quality(),
              "Wav|10x|32 kbps  22.05 KHz  Mono");
    EXPECT_EQ(first.OutputDir, documents);
    EXPECT_EQ(first.AudioDeviceID, -1);
    EXPECT_EQ(first.DefaultVoiceID, first.Voices.IDAt(0));
    EXPECT_TRUE(messages.empty()) << messages.front();

    first.SetOutputFormat("mp3");
    first.SetRealTime("15x");
    first.SetMP3Quality("64 kbps  22.05 KHz  Stereo");
    first.AudioDeviceID = 1;
    first.VoiceAssignment = 2;
    first.OutputDir = output;
    first.Voices.LoadUserVoices(
        {"Slow Reader|Reader|" + VoiceOfMode(FliteMode("kal16")).VoiceID + "|True|40|120"});
    first.SetDefaultVoice("Slow Reader");
    ASSERT_TRUE(first.SaveSettings());

    TBaseTTS& second = Start();
    EXPECT_EQ(second.OutputFormat() + "|" + second.RealTimeText() + "|" +
                  second.MP3Writer->Quality(),
              "MP3|15x|64 kbps  22.05 KHz  Stereo");
    EXPECT_EQ(
        std::vector<int>({second.RealTimeValue, second.AudioDeviceID, second.VoiceAssignment}),
        std::vector<int>({3840, 1, 2}));
    EXPECT_EQ(second.OutputDir, output);
    EXPECT_EQ(second.DefaultVoiceName(), "Slow Reader");
    const std::string stored = dir.Read("config/registry");
    EXPECT_NE(stored.find("[Software\\HalvernWorks\\Olvenar\\BaseTTS]"), std::string::npos);
    EXPECT_NE(stored.find("TTS_RealTimeValue=3840"), std::string::npos);
}

TEST_F(BaseTTSTest, DamagedStoredValuesAreShownAndSkipped) {
    WriteStoreFile("[Software\\HalvernWorks\\Olvenar\\BaseTTS]\nsz:TTS_OutputFormat=Ogg\n"
                   "sz:RealTime=fast\nsz:MP3_Quality=999 kbps\n"
                   "sz:VCE_EspkEnglish (America)1033=1,x,0,-1\n");
    dir.Write("UserTranslations.chl", "1~wx~weather~F\nbad~line\n");

    TBaseTTS& speech = Start();
    // "TTS_RealTimeValue" keeps its default.
    EXPECT_EQ(speech.OutputFormat() + "|" + speech.RealTimeText() + "|" + speech.MP3Quality(),
              "Wav|10x|32 kbps  22.05 KHz  Mono");
    EXPECT_NE(dir.Read("config/registry").find("MP3_Quality=32 kbps  22.05 KHz  Mono"),
              std::string::npos); // written at once
    for (const char* shown :
         {"Invalid Audio Format specified", "'fast' is not a valid integer value",
          "'bad' is not a valid integer value"})
        EXPECT_EQ(std::count(messages.begin(), messages.end(), shown), 1) << shown;
    // The translation before the bad line is in use, and every voice is there.
    EXPECT_EQ(speech.PreProcessor->Process("wx today"), "weather today");
    EXPECT_GT(speech.Voices.Count(), 1u);
}

// (The default voice's vendor stays: VoiceDialogTest.)
TEST_F(BaseTTSTest, TheDefaultVoiceMustBeEnabled) {
    TBaseTTS& speech = Start();
    const TBaseVoiceClass* disabled = &speech.Voices[speech.Voices.Count() - 1];
    ASSERT_FALSE(disabled->Enabled());
    EXPECT_THROW(speech.SetDefaultVoice(disabled->Name), EttsException);
    EXPECT_THROW(speech.SetDefaultVoice("No Such Voice"), EttsException);
    speech.DisableVendor("CMU Flite", speech.Engines, speech.Voices, nullptr);
    EXPECT_TRUE(speech.Voices.VendorEnabled("eSpeak NG"));
    EXPECT_FALSE(speech.Voices.VendorEnabled("CMU Flite") ||
                 speech.Engines.VendorEnabled("CMU Flite"));
}

// Files ---------------------------------------------------------------------------------------

// The MP3's own sample rate is the encoder's choice for the bit rate, so it is not checked.
struct Mp3Case {
    std::string Mode;
    std::string Quality;
    int Channels;
    int Bitrate;
};

// Each voice renders the report to WAV (reporting its words) and then to
// MP3 at a quality that needs no conversion, one that doubles the channels or raises the rate.
TEST_F(BaseTTSTest, RendersWavAndMp3AtMonoStereoAndResampledQualitiesFromEveryVoiceRate) {
    const Mp3Case cases[] = {
        {EspeakUsMode(), "32 kbps  22.05 KHz  Mono", 1, 32},
        {EspeakUsMode(), "64 kbps  22.05 KHz  Stereo", 2, 64},
        {EspeakUsMode(), "56 kbps  44.1 KHz   Mono", 1, 56},       // resampled to 44.1 kHz
        {FliteMode("kal"), "32 kbps  22.05 KHz  Mono", 1, 32},     // 8 kHz voice, to 32 kHz
        {FliteMode("kal16"), "16 kbps  11.02 KHz  Mono", 1, 16},   // 16 kHz voice
        {FliteMode("kal16"), "64 kbps  22.05 KHz  Stereo", 2, 64}, // 16 kHz, doubled
    };
    TBaseTTS& speech = Start();
    const std::string spoken = speech.PreProcessor->Process(kReport);
    for (const Mp3Case& c : cases) {
        SCOPED_TRACE(c.Mode + " / " + c.Quality);
        events.clear();
        positions.clear();
        Render("Wav", &VoiceOfMode(c.Mode));
        EXPECT_EQ(events, (std::vector<std::string>{"State 2/0", "State 0/6", "Done 6 Report"}));
        EXPECT_EQ(lastTextLength, int(Trim(spoken).size()));
        EXPECT_FALSE(positions.empty()); // their places: TTTSTest and BaseTTSQtTest
        const Pcm pcm = ReadPcm(dir.File("out/Report.wav"));
        EXPECT_GT(pcm.Peak(), 5000);
        std::filesystem::remove(dir.File("out/Report.wav"));

        events.clear();
        speech.SetMP3Quality(c.Quality);
        Render("MP3", &VoiceOfMode(c.Mode));
        EXPECT_EQ(events, (std::vector<std::string>{"State 2/0", "State 4/6", "State 0/6",
                                                    "Done 6 Report"}));
        ASSERT_EQ(FilesIn(output), std::vector<std::string>{"Report.mp3"});
        const Mp3Info mp3 = ReadMp3Info(dir.File("out/Report.mp3"));
        EXPECT_EQ(std::vector<int>({mp3.Channels, mp3.Bitrate}),
                  std::vector<int>({c.Channels, c.Bitrate}));
        EXPECT_TRUE(mp3.Consistent);
        EXPECT_NEAR(mp3.Duration(), pcm.Seconds(), 0.15);
        // And it holds the speech.
        ASSERT_TRUE(LameDecode(dir.File("out/Report.mp3"), dir.File("decoded.wav")));
        EXPECT_GT(ReadPcm(dir.File("decoded.wav")).Peak(), 5000);
        std::filesystem::remove(dir.File("out/Report.mp3"));
    }
    EXPECT_FALSE(speech.TTS.Active() || speech.IsBusy());
}

// Stopping ------------------------------------------------------------------------------------

// What was rendered is dropped; the user's earlier file of that name stays as it was. The MP3
// is paused first.
TEST_F(BaseTTSTest, StopDuringFileOutputKeepsTheEarlierFileAndReenablesTheStartControls) {
    for (const char* format : {"Wav", "MP3"}) {
        const bool pauseFirst = format[0] == 'M';
        SCOPED_TRACE(std::string(format) + (pauseFirst ? ", paused first" : ""));
        const std::string file = std::string("out/Report.") + (format[0] == 'W' ? "wav" : "mp3");
        dir.Write(file, "an older report");
        events.clear();
        positions.clear();
        TBaseTTS& speech = Start();
        Button read, pause, stop;
        speech.AddControl(0, read);
        speech.AddControl(3, pause);
        speech.AddMenuItem(5, stop);
        EXPECT_TRUE(read.Enabled && !pause.Enabled && !stop.Enabled);

        PrepareFile(format);
        speech.Speak("", LongText());
        EXPECT_TRUE(!read.Enabled && pause.Enabled && stop.Enabled);
        ASSERT_TRUE(Pump([&] { return positions.size() >= 3; }));
        if (pauseFirst) {
            speech.TogglePause();
            EXPECT_EQ(events.back(), "State 1/3");
            EXPECT_TRUE(!read.Enabled && pause.Enabled && stop.Enabled);
            clock.Advance(200); // nothing is delivered while paused
            EXPECT_EQ(events.back(), "State 1/3");
        }
        speech.Stop();
        EXPECT_EQ(std::vector<std::string>(events.end() - 2, events.end()),
                  (std::vector<std::string>{"State 0/5", "Done 5 "}));
        EXPECT_FALSE(speech.IsBusy() || speech.TTS.Active() || speech.FileMade());
        EXPECT_TRUE(read.Enabled && !pause.Enabled && !stop.Enabled);
        clock.Advance(500);
        EXPECT_EQ(events.back(), "Done 5 "); // nothing follows
        EXPECT_EQ(FilesIn(output).size(), 1u);
        EXPECT_EQ(dir.Read(file), "an older report");
        std::filesystem::remove(dir.File(file));
    }
}

TEST_F(BaseTTSTest, StopDuringConversionRaisesOnlyTheStateChange) {
    TBaseTTS& speech = Start();
    speech.OnStateChange = [&](TBaseTTS& sender, TtsState state, TtsReason reason) {
        events.push_back("State " + std::to_string(int(state)) + "/" + std::to_string(int(reason)));
        if (state == TtsState::Encoding)
            sender.Stop();
    };
    Render("MP3", &VoiceOfMode(EspeakUsMode()));
    EXPECT_EQ(events, (std::vector<std::string>{"State 2/0", "State 4/6", "State 0/5", "Done 5 "}));
    EXPECT_EQ(speech.State(), TtsState::Idle);
    EXPECT_TRUE(FilesIn(output).empty());
}

// Failures ------------------------------------------------------------------------------------

TEST_F(BaseTTSTest, RefusalsSayWhyAndLeaveTheControllerIdle) {
    TBaseTTS& speech = Start();
    const auto speak = [&] { speech.Speak("", kReport); };

    EXPECT_EQ(ErrorOf(speak), "A sound card is not detected"); // no sound server here
    PrepareFile("Wav", "");
    EXPECT_EQ(ErrorOf(speak), "Output file not specified");
    PrepareFile("Wav");
    speech.OutputDir = " ";
    EXPECT_EQ(ErrorOf(speak), "Output Directory not specified");
    speech.OutputDir = dir.File("missing");
    EXPECT_EQ(ErrorOf(speak), "Output directory does not exist");
    EXPECT_EQ(ErrorOf([&] { speech.SpeakText(kReport); }), "TTS is not active");

    PrepareFile("Wav");
    EXPECT_NE(ErrorOf([&] { speech.Speak("", ""); }), "(no error)");
    EXPECT_FALSE(speech.IsBusy() || speech.TTS.Active());
    EXPECT_TRUE(FilesIn(output).empty());

    speech.EngnOpen(nullptr);
    EXPECT_EQ(ErrorOf([&] { speech.EngnOpen(nullptr); }), "TTS is already active");
    speech.EngnClose(false);

    speech.Voices.Clear();
    speech.DefaultVoiceID.clear();
    EXPECT_EQ(ErrorOf(speak), "No voice is installed to speak with");
    EXPECT_TRUE(events.empty());
}

// A user-defined voice takes its base voice's limits but keeps volume 0, "the engine's default":
// it must not be silent. What the end-of-speech handler throws is shown, not fatal.
TEST_F(BaseTTSTest, AVoiceWithoutVolumeIsHeardAndAFailingEndHandlerIsShown) {
    TBaseTTS& speech = Start();
    speech.Voices.LoadUserVoices(
        {"Quiet|Q|" + VoiceOfMode(EspeakUsMode()).VoiceID + "|True|50|175"});
    TBaseVoiceClass* user = speech.Voices.FindByName("Quiet");
    ASSERT_LT(user->VolumeLeft(), 1);
    speech.OnDone = [](TBaseTTS&, TtsReason, const std::string&) {
        throw std::runtime_error("the window is gone");
    };
    PrepareFile("Wav");
    speech.SpeakWithVoice(user, kReport);
    ASSERT_TRUE(Pump([&] { return !messages.empty(); }));
    EXPECT_EQ(messages.back(), "the window is gone");
    EXPECT_EQ(speech.State(), TtsState::Idle);
    EXPECT_GT(ReadPcm(dir.File("out/Report.wav")).Peak(), 5000);
}

// Output folder -------------------------------------------------------------------------------

// The documents folder of the desktop's user-dirs file, else the program folder's AudioFiles,
// else a blank.
TEST(DocumentsFolderTest, FallsBackToTheProgramFoldersAudioFiles) {
    TempDir dir;
    MakeFolders(dir.File("home/Docs"));
    MakeFolders(dir.File("config"));
    dir.Write("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n");
    ScopedEnv home("HOME", dir.File("home").c_str()), env("XDG_DOCUMENTS_DIR", nullptr),
        config("XDG_CONFIG_HOME", dir.File("config").c_str());
    SetProgramFolder(dir.Folder());
    EXPECT_EQ(DefaultOutputDir(), dir.File("home/Docs"));
    std::filesystem::remove(dir.File("home/Docs"));
    EXPECT_EQ(DefaultOutputDir(), dir.Folder() + "AudioFiles");
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("AudioFiles")));
    dir.Write("file", "");
    SetProgramFolder(dir.File("file") + "/");
    EXPECT_EQ(DefaultOutputDir(), " ");
    SetProgramFolder("");
}

} // namespace
} // namespace olv::test

#pragma once

#include "settings/SettingsFixture.h"
#include "support/TempDir.h"
#include "support/ToolRunner.h"
#include "support/http/HttpTestServer.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace olv::test {

// An update server as publishers run one: a folder that tools/make-manifest filled and signed
// with a key pair made for the test, served over HTTPS on loopback by a server the program
// trusts (SSL_CERT_FILE), and named to the program by OLVENAR_UPDATE_URL and
// OLVENAR_UPDATE_PUBLIC_KEY for as long as it lives.
class UpdateSite {
public:
    UpdateSite();
    ~UpdateSite();
    UpdateSite(const UpdateSite&) = delete;
    UpdateSite& operator=(const UpdateSite&) = delete;

    // Small files of each kind at a revision: a catalogue with one city and a script file.
    static std::string Catalogue(const std::string& revision);
    static std::string Script(const std::string& revision);

    // The server's folder, made by the publishing tool from files at these revisions.
    void Publish(const std::string& catalogueRevision, const std::string& scriptRevision,
                 const std::string& programVersion = "1.27");
    std::string Published(const std::string& name) const { return site.Read("chls/" + name); }
    // Answers requests for the file "chls/" + name with response instead.
    void Serve(const std::string& name, HttpTestResponse response);
    // The paths and queries requested so far.
    std::vector<std::string> Requests() const;

    TempDir keys;
    TempDir site;
    HttpTestServer server;
    std::string privateKey;
    std::string publicKey;

private:
    HttpTestResponse Answer(const HttpTestRequest& request);

    mutable std::mutex mutex_;
    std::map<std::string, HttpTestResponse> served_;
    std::vector<std::string> requests_;
};

// The update site beside a settings fixture, whose folder is the program folder.
class UpdateFixture : public SettingsFixture, public UpdateSite {
protected:
    // The program folder's own copies, and an older local manifest.
    void InstallLocal(const std::string& catalogueRevision, const std::string& scriptRevision);
};

// Writes a fresh Ed25519 key pair as PEM files.
void MakeKeyPair(const std::string& privatePath, const std::string& publicPath);

} // namespace olv::test

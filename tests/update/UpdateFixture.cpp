#include "update/UpdateFixture.h"

#include "util/Strings.h"

#include <cstdlib>
#include <filesystem>

namespace olv::test {
namespace {

// Programs outside the build folder, named from it, where the runner looks for programs.
ToolRun RunFrom(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& workFolder) {
    return RunTool(std::filesystem::relative(program, OLVENAR_BINARY_DIR).string(), arguments, {},
                   workFolder);
}

} // namespace

void MakeKeyPair(const std::string& privatePath, const std::string& publicPath) {
    const std::string folder = std::filesystem::path(privatePath).parent_path().string();
    ToolRun run = RunFrom("/usr/bin/openssl",
                          {"genpkey", "-algorithm", "ED25519", "-out", privatePath}, folder);
    ASSERT_EQ(run.Status, 0) << run.Err;
    run = RunFrom("/usr/bin/openssl", {"pkey", "-in", privatePath, "-pubout", "-out", publicPath},
                  folder);
    ASSERT_EQ(run.Status, 0) << run.Err;
}

UpdateSite::UpdateSite()
    : server([this](const HttpTestRequest& request) { return Answer(request); }, "localhost"),
      privateKey(keys.File("private.pem")), publicKey(keys.File("public.pem")) {
    MakeKeyPair(privateKey, publicKey);
    ::setenv("SSL_CERT_FILE", HttpTestServer::CaFile().c_str(), 1);
    ::setenv("OLVENAR_UPDATE_URL", server.Url("/updates").c_str(), 1);
    ::setenv("OLVENAR_UPDATE_PUBLIC_KEY", publicKey.c_str(), 1);
}

UpdateSite::~UpdateSite() {
    for (const char* name : {"SSL_CERT_FILE", "OLVENAR_UPDATE_URL", "OLVENAR_UPDATE_PUBLIC_KEY"})
        ::unsetenv(name);
}

std::string UpdateSite::Catalogue(const std::string& revision) {
    return "Test catalogue <Revision>" + revision +
           "</Revision>\r\nAsia\r\nJapan\r\nTokyo\r\nhttps://example.org/tokyo\r\n35.68\r\n"
           "139.69\r\nUp\r\nUp\r\nUp\r\n";
}

std::string UpdateSite::Script(const std::string& revision) {
    return "<Revision>" + revision +
           "</Revision>\r\n<WUFore>\r\n    script|\r\n    end|\r\n"
           "</WUFore>\r\n";
}

void UpdateSite::Publish(const std::string& catalogueRevision, const std::string& scriptRevision,
                         const std::string& programVersion) {
    const TempDir data;
    data.Write("OVDef.chl", Catalogue(catalogueRevision));
    data.Write("Olvenar.chl", Script(scriptRevision));
    const ToolRun run = RunFrom(OLVENAR_SOURCE_DIR "/tools/make-manifest",
                                {"--key", privateKey, "--data", data.Folder(), "--out",
                                 site.File("chls"), "--program-version", programVersion},
                                keys.Folder());
    ASSERT_EQ(run.Status, 0) << run.Err;
}

void UpdateFixture::InstallLocal(const std::string& catalogueRevision,
                                 const std::string& scriptRevision) {
    dir.Write("OVDef.chl", Catalogue(catalogueRevision));
    dir.Write("Olvenar.chl", Script(scriptRevision));
    dir.Write("Master.chl", "<key name=Olvenar><Revision>1.0</Revision></key name>\r\n");
}

void UpdateSite::Serve(const std::string& name, HttpTestResponse response) {
    const std::lock_guard<std::mutex> lock(mutex_);
    served_[name] = std::move(response);
}

std::vector<std::string> UpdateSite::Requests() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

HttpTestResponse UpdateSite::Answer(const HttpTestRequest& request) {
    const std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request.target);
    const std::string path = request.target.substr(0, request.target.find('?'));
    const std::string name = StartsWith(path, "/updates/chls/") ? path.substr(14) : "";
    if (const auto found = served_.find(name); found != served_.end())
        return found->second;
    std::string contents;
    if (name.empty() || !ReadWholeFile(site.File("chls/" + name), contents))
        return HttpTestResponse::Status(404, "Not Found");
    return HttpTestResponse::Ok(contents, "application/octet-stream");
}

} // namespace olv::test

#pragma once

#include "net/HttpCli.h"

#include <functional>
#include <memory>
#include <string>

namespace olv {

// Fetches one URL into a local file. Serves one GetFile and is then dropped.
class DownloadClass {
public:
    DownloadClass();
    ~DownloadClass();
    DownloadClass(const DownloadClass&) = delete;
    DownloadClass& operator=(const DownloadClass&) = delete;

    void SetProxy(const std::string& host, const std::string& port, const std::string& userName,
                  const std::string& password);

    // Downloads url into fileName. True when the request completed without error and at least
    // one byte of document data arrived; otherwise ErrorText() says why. Never throws.
    bool GetFile(const std::string& url, const std::string& fileName, bool backup);

    // Asks the running request to stop; safe to call from an event handler during GetFile.
    void Abort();

    const std::string& ErrorText() const { return errorText_; }
    bool Aborted() const { return aborted_; }
    HttpCli& Client() { return *httpCli_; }

    // Receives "Received N of M." on every block of document data (the progress caption).
    std::function<void(const std::string& caption)> ProgressControl;

private:
    // Runs the request into file; false with ErrorText set when it failed.
    bool Receive(class OutputFile& file);
    void ShowProgress();

    std::unique_ptr<HttpCli> httpCli_;
    std::string errorText_;
    bool aborted_ = false;
};

} // namespace olv

#include "net/DownloadClass.h"

#include "net/OutputFile.h"
#include "platform/Files.h"
#include "util/Log.h"
#include "util/Strings.h"

#include <cstdio>
#include <exception>

namespace olv {
namespace {

constexpr const char* kAbortedText = "Connection aborted on request";

// Copies a whole file; a failure is only reported, never thrown.
bool CopyQuietly(const std::string& from, const std::string& to) {
    try {
        std::string contents;
        if (!ReadWholeFile(from, contents))
            return false;
        SaveFileAtomically(to, contents);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

DownloadClass::DownloadClass() : httpCli_(std::make_unique<HttpCli>()) {
    httpCli_->Accept.clear();
    httpCli_->Agent = "Mozilla/3.0 (compatible)";
    httpCli_->OnDocData = [this] { ShowProgress(); };
}

DownloadClass::~DownloadClass() = default;

void DownloadClass::SetProxy(const std::string& host, const std::string& port,
                             const std::string& userName, const std::string& password) {
    httpCli_->Proxy = host;
    httpCli_->ProxyPort = port;
    httpCli_->ProxyUsername = userName;
    httpCli_->ProxyPassword = password;
}

bool DownloadClass::GetFile(const std::string& url, const std::string& fileName, bool backup) {
    Log("In GetFile, URL=" + url);
    Log("filename=" + fileName);
    Log(backup ? "Yes backup" : "No Backup");
    // Cancelled before it began: leave the file alone and send nothing.
    if (aborted_) {
        errorText_ = kAbortedText;
        Log("Get error=" + errorText_);
        return false;
    }
    const std::string backupName = fileName + "bu";
    const bool existed = FileExists(fileName);
    const bool backedUp = backup && CopyQuietly(fileName, backupName);
    httpCli_->URL = url;

    OutputFile file;
    if (!file.Create(fileName)) {
        errorText_ = "Unable to create " + fileName + " - " + file.ErrorMessage();
        Log("FileStream.create error=" + errorText_);
        return false;
    }
    Log("got past FileStream.create");
    const bool ok = Receive(file);
    if (!ok && backup) {
        // Leave the file exactly as it was, even when there was none before.
        if (backedUp)
            CopyQuietly(backupName, fileName);
        else if (!existed)
            std::remove(fileName.c_str());
    }
    return ok;
}

bool DownloadClass::Receive(OutputFile& file) {
    bool ok = false;
    httpCli_->RcvdStream = [&file](std::string_view block) { file.Write(block); };
    try {
        httpCli_->Get();
        ok = true;
    } catch (const std::exception& failure) {
        errorText_ = failure.what();
        Log("Get error=" + errorText_);
    }
    if (ok && httpCli_->RcvdCount() == 0) {
        errorText_ = "No Data Received";
        Log("rcvdcount = 0");
        ok = false;
    }
    httpCli_->RcvdStream = nullptr;
    try {
        file.Close();
    } catch (const std::exception& failure) {
        if (ok) {
            errorText_ = failure.what();
            Log("FileStream.close error=" + errorText_);
            ok = false;
        }
    }
    return ok;
}

void DownloadClass::Abort() {
    Log("in DownloadClass.abort");
    if (aborted_) {
        Log("Aborted <> false");
        return;
    }
    Log("before check of httpcli");
    if (httpCli_) {
        Log("before call to httpcli.abort");
        httpCli_->Abort();
        Log("after httpcli abort");
    }
    aborted_ = true;
    Log("leaving downloadclass.abort");
}

void DownloadClass::ShowProgress() {
    if (ProgressControl)
        ProgressControl("Received " + Decimal(httpCli_->RcvdCount()) + " of " +
                        Decimal(httpCli_->ContentLength()) + ".");
}

} // namespace olv

// The CPU time a download spends waiting on slow loopback servers: it should stay near zero,
// however long the wait. The server runs on a thread of its own and is not counted.

#include "net/HttpCli.h"
#include "support/http/HttpTestServer.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <sys/resource.h>

namespace {

using olv::test::HttpTestRequest;
using olv::test::HttpTestResponse;
using namespace std::chrono_literals;

double ThreadCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void Measure(const char* what, const std::string& url) {
    olv::HttpCli client;
    client.URL = url;
    const double cpuBefore = ThreadCpuMs();
    const auto start = std::chrono::steady_clock::now();
    std::string failure;
    try {
        client.Get();
    } catch (const std::exception& error) {
        failure = error.what();
    }
    const double wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double cpuMs = ThreadCpuMs() - cpuBefore;
    std::printf("%-40s wall %7.0f ms   client CPU %6.1f ms (%.2f%%)   %lld bytes%s%s\n", what,
                wallMs, cpuMs, 100.0 * cpuMs / wallMs, static_cast<long long>(client.RcvdCount()),
                failure.empty() ? "" : "   failed: ", failure.c_str());
}

} // namespace

int main() {
    olv::test::HttpTestServer server([](const HttpTestRequest& request) {
        HttpTestResponse response = HttpTestResponse::Ok(std::string(40, 'x'));
        if (request.target == "/trickle")
            response.pieceSize = 1, response.delayBetweenPieces = 50ms;
        else
            response.delayBefore = 2s;
        return response;
    });
    const std::string origin = "http://localhost:" + std::to_string(server.Port());
    Measure("name lookup, then 2 s of silence", origin + "/late");
    Measure("40 bytes, one every 50 ms", origin + "/trickle");
    return 0;
}

// Figures for the metrics endpoint under load: a server over the gauges of 32 meters, a meter
// thread that updates each meter's gauges once a second on a schedule spread over the second, and
// a client asking GET /metrics 200 times a second on a fresh connection each, for the given time.
// Prints the answer time (median, 99th percentile, longest) and how late the meters' updates came
// against their schedule (median, 99th percentile, latest; and apart from the thread's waking, the
// update under the board's lock that a scrape competes for), against the goals: answers within
// 10 ms at the 99th percentile, no update later than 50 ms.
//
//   metrics_load_bench [seconds, default 60]
#include "logic/metrics/MetricsText.h"
#include "net/http/HttpServer.h"
#include "net/metrics/GaugeBoard.h"

#include <QDateTime>
#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <netinet/in.h>
#include <string_view>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Stopwatch = std::chrono::steady_clock;
constexpr int meterCount = 32;
constexpr int scrapesPerSecond = 200;
constexpr double answerGoalMs = 10;
constexpr double lateUpdateMs = 50;

double millisecondsSince(Stopwatch::time_point start) {
    return std::chrono::duration<double, std::milli>(Stopwatch::now() - start).count();
}

double wallSeconds() {
    return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

struct Figures {
    double median = 0;
    double p99 = 0;
    double max = 0;
};

Figures figuresOf(std::vector<double> values) {
    if (values.empty())
        return {};
    std::sort(values.begin(), values.end());
    const auto at = [&values](double share) {
        return values[std::min(values.size() - 1, size_t(share * double(values.size())))];
    };
    return {at(0.5), at(0.99), values.back()};
}

std::vector<MeterGauges> fleet() {
    std::vector<MeterGauges> meters(meterCount);
    for (int i = 0; i < meterCount; ++i) {
        meters[size_t(i)].meter = QStringLiteral("meter-%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        meters[size_t(i)].port = QStringLiteral("/dev/ttyUSB%1").arg(i);
        meters[size_t(i)].mqttQueued = 0;
        meters[size_t(i)].mqttDropped = 0;
    }
    return meters;
}

struct UpdateTimes {
    // From when the update fell due to when it was done, in ms.
    std::vector<double> lateness;
    // The update itself, waiting for the board's lock included, in ms: what a scrape can add.
    std::vector<double> update;
};

// Each meter's update falls due once a second, the meters spread evenly over the second, as
// meters polled on their own threads would be.
UpdateTimes updateMeters(GaugeBoard& board, Stopwatch::time_point start, int seconds) {
    UpdateTimes times;
    times.lateness.reserve(size_t(seconds) * meterCount);
    times.update.reserve(size_t(seconds) * meterCount);
    const auto step = std::chrono::microseconds(1'000'000 / meterCount);
    for (int second = 0; second < seconds; ++second) {
        for (int meter = 0; meter < meterCount; ++meter) {
            const Stopwatch::time_point due = start + std::chrono::seconds(second) + meter * step;
            std::this_thread::sleep_until(due);
            const Stopwatch::time_point begun = Stopwatch::now();
            const double now = wallSeconds();
            board.update(size_t(meter), [&](MeterGauges& gauges) {
                gauges.up = true;
                gauges.humidityRatio = humidityRatioFromPercent(40 + (second + meter) % 200 / 10.0);
                gauges.temperatureCelsius = 20 + meter / 10.0;
                gauges.lastReadingSeconds = now;
                ++gauges.readings;
            });
            times.update.push_back(millisecondsSince(begun));
            times.lateness.push_back(millisecondsSince(due));
        }
    }
    return times;
}

// One GET on a fresh connection; the time until the whole answer is in, in ms, or a negative
// time when it failed.
double scrape(quint16 port, size_t& bytes) {
    const Stopwatch::time_point start = Stopwatch::now();
    const int descriptor = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const char request[] = "GET /metrics HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n";
    bool answered = false;
    if (::connect(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::send(descriptor, request, sizeof request - 1, MSG_NOSIGNAL) > 0) {
        char buffer[16384];
        bytes = 0;
        for (ssize_t n; (n = ::recv(descriptor, buffer, sizeof buffer, 0)) > 0;) {
            if (bytes == 0)
                answered = std::string_view(buffer, size_t(n)).starts_with("HTTP/1.1 200");
            bytes += size_t(n);
        }
    }
    ::close(descriptor);
    return answered ? millisecondsSince(start) : -1;
}

std::vector<double> scrapeRepeatedly(quint16 port, Stopwatch::time_point start, int seconds,
                                     int& failures, size_t& bytes) {
    std::vector<double> answers;
    const int total = seconds * scrapesPerSecond;
    answers.reserve(size_t(total));
    const auto step = std::chrono::microseconds(1'000'000 / scrapesPerSecond);
    for (int i = 0; i < total; ++i) {
        std::this_thread::sleep_until(start + i * step);
        const double milliseconds = scrape(port, bytes);
        if (milliseconds < 0)
            ++failures;
        else
            answers.push_back(milliseconds);
    }
    return answers;
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    GaugeBoard board(fleet());
    RouteTable routes;
    routes.add(QByteArrayLiteral("/metrics"), [&board](const HttpRequest&) {
        return HttpAnswer{200,
                          QByteArrayLiteral("text/plain; version=0.0.4; charset=utf-8"),
                          metricsText(board.snapshot(), wallSeconds()),
                          {},
                          nullptr};
    });
    HttpServer server(routes);
    if (const Result<> started = server.start({QStringLiteral("127.0.0.1"), 0}); !started) {
        std::fprintf(stderr, "%s\n", qPrintable(started.failure().message));
        return 1;
    }
    std::printf("%d meters, %d GET /metrics a second for %d s on 127.0.0.1:%u\n", meterCount,
                scrapesPerSecond, seconds, server.port());

    const Stopwatch::time_point start = Stopwatch::now() + std::chrono::milliseconds(100);
    UpdateTimes updates;
    std::thread meters([&] { updates = updateMeters(board, start, seconds); });
    int failures = 0;
    size_t bytes = 0;
    const std::vector<double> answers =
        scrapeRepeatedly(server.port(), start, seconds, failures, bytes);
    meters.join();

    const Figures answer = figuresOf(answers);
    const Figures late = figuresOf(updates.lateness);
    const Figures update = figuresOf(updates.update);
    const auto lateUpdates = std::count_if(updates.lateness.begin(), updates.lateness.end(),
                                           [](double ms) { return ms > lateUpdateMs; });
    std::printf("answers: %zu of %d (%d failed), %zu bytes each\n", answers.size(),
                seconds * scrapesPerSecond, failures, bytes);
    std::printf("answer time ms: median %.3f, p99 %.3f, max %.3f (goal: p99 < %.0f)\n",
                answer.median, answer.p99, answer.max, answerGoalMs);
    std::printf("meter update lateness ms: median %.3f, p99 %.3f, latest %.3f; %td of %zu later "
                "than %.0f ms (goal: none)\n",
                late.median, late.p99, late.max, lateUpdates, updates.lateness.size(),
                lateUpdateMs);
    std::printf("of which the update itself ms: median %.3f, p99 %.3f, longest %.3f\n",
                update.median, update.p99, update.max);
    const bool met = failures == 0 && answer.p99 < answerGoalMs && lateUpdates == 0;
    std::printf("%s\n", met ? "goals met" : "goals missed");
    return met ? 0 : 1;
}

#include "engine/ReferenceRates.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>

namespace {

constexpr int kDays = 7800; // thirty years of working days
constexpr int kCurrencies = 26;

std::string isoDay(int index) {
    const int year = 1997 + index / 260;
    const int month = 1 + index % 260 / 22;
    const int day = 1 + index % 22;
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

std::string rateText(int day, int currency) {
    std::string text = std::to_string(1 + currency);
    text.append(".").append(std::to_string(1000 + (day * 7 + currency) % 9000));
    return text;
}

std::string code(int currency) {
    return {static_cast<char>('A' + currency), 'A', 'A'};
}

// A historical file as the European Central Bank's: about 200,000 rates.
std::string historicalXml() {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gesmes:Envelope "
                       "xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\">\n<Cube>\n";
    for (int day = kDays - 1; day >= 0; --day) {
        text.append("<Cube time=\"").append(isoDay(day)).append("\">");
        for (int currency = 0; currency < kCurrencies; ++currency)
            text.append("<Cube currency=\"")
                .append(code(currency))
                .append("\" rate=\"")
                .append(rateText(day, currency))
                .append("\"/>");
        text += "</Cube>\n";
    }
    return text + "</Cube>\n</gesmes:Envelope>\n";
}

std::string historicalCsv() {
    std::string text = "Date";
    for (int currency = 0; currency < kCurrencies; ++currency)
        text.append(",").append(code(currency));
    text += ",\n";
    for (int day = kDays - 1; day >= 0; --day) {
        text.append(isoDay(day));
        for (int currency = 0; currency < kCurrencies; ++currency)
            text.append(",").append(currency % 9 == 8 ? std::string("N/A")
                                                      : rateText(day, currency));
        text += ",\n";
    }
    return text;
}

void BM_ReadHistoricalXml(benchmark::State &state) {
    const std::string text = historicalXml();
    for (auto _ : state)
        benchmark::DoNotOptimize(kvt::parseReferenceRates(text));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
    state.counters["rates"] = kDays * kCurrencies;
}
BENCHMARK(BM_ReadHistoricalXml)->Unit(benchmark::kMillisecond);

void BM_ReadHistoricalCsv(benchmark::State &state) {
    const std::string text = historicalCsv();
    for (auto _ : state)
        benchmark::DoNotOptimize(kvt::parseReferenceRates(text));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadHistoricalCsv)->Unit(benchmark::kMillisecond);

} // namespace

#include "messages/Message.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t kMessageCount = 600; // 3600 records, the size of a full catalogue

// Texts of the lengths real messages have, some within the short-string buffer, most beyond.
std::string textOf(std::int32_t number, std::int32_t lang) {
    std::string text = "Message " + std::to_string(number) + " language " + std::to_string(lang);
    text.resize(static_cast<std::size_t>(8 + (number * 7 + lang * 13) % 90), '.');
    return text;
}

kvt::Message catalogue() {
    std::string bytes;
    for (std::int32_t number = 0; number < kMessageCount; ++number)
        for (std::int32_t lang = 0; lang < kvt::kNrLanguages; ++lang)
            bytes +=
                kvt::msgfile::makeRecord(number * kvt::kNrLanguages + lang, textOf(number, lang));
    kvt::Message message;
    message.loadFromBytes(bytes);
    return message;
}

void BM_MessageLookup(benchmark::State &state) {
    const kvt::Message message = catalogue();
    // A scattered order, so the lookups do not walk the table sequentially.
    std::vector<std::int32_t> numbers;
    for (std::int32_t i = 0; i < kMessageCount; ++i)
        numbers.push_back((i * 379) % kMessageCount);
    std::size_t next = 0;
    for (auto _ : state) {
        const std::int32_t number = numbers[next];
        const auto lang = static_cast<std::int32_t>(next % 6);
        next = next + 1 == numbers.size() ? 0 : next + 1;
        benchmark::DoNotOptimize(message.strGetLangMsg(lang, number));
    }
}
BENCHMARK(BM_MessageLookup);

} // namespace

#include "FuzzCheck.h"
#include "engine/ReferenceRates.h"
#include "model/Error.h"
#include "model/Taux.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using talvio::fuzz::check;

} // namespace

// Any bytes as a reference rate file, read as it comes and forced into each format: either a
// refusal (kvt::Error) or days of usable rates, each day written out reading back the same.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const std::string texts[] = {std::string(bytes), "Date," + std::string(bytes),
                                 "<gesmes:Envelope>" + std::string(bytes)};
    for (const std::string &text : texts) {
        try {
            const kvt::ReferenceRates rates = kvt::parseReferenceRates(text);
            check(!rates.days.empty() && rates.newest() != nullptr);
            for (const kvt::ReferenceDay &day : rates.days) {
                check(kvt::isIsoDate(day.date));
                for (const kvt::ReferenceRate &rate : day.rates)
                    check(kvt::isUsableRate(rate.rate) && rate.currency.size() == 3);
                for (const kvt::ReferenceFormat format :
                     {kvt::ReferenceFormat::Csv, kvt::ReferenceFormat::Xml}) {
                    const kvt::ReferenceRates again =
                        kvt::parseReferenceRates(kvt::writeReferenceRates(day, format));
                    check(again.days.size() == 1 && again.days[0].date == day.date
                          && again.days[0].rates.size() == day.rates.size());
                    for (std::size_t i = 0; i < day.rates.size(); ++i)
                        check(again.days[0].rates[i].rate == day.rates[i].rate
                              && again.days[0].rates[i].currency == day.rates[i].currency);
                }
            }
        } catch (const kvt::Error &) {
        }
    }
    return 0;
}

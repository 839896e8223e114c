#include "engine/ReferenceRates.h"

#include "model/Error.h"
#include "model/Taux.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <unordered_set>

namespace kvt {

namespace {

[[noreturn]] void refuse(std::size_t line, const std::string &what) {
    throw Error(err::InvalidArgument,
                "Not a usable reference rate file: line " + std::to_string(line) + ": " + what);
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n';
    };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Quoted for a message, cut short: the text comes from a file that may hold anything.
std::string shown(std::string_view text) {
    constexpr std::size_t kLongest = 40;
    std::string result = "\"";
    for (const char c : text.substr(0, kLongest))
        result += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? '?' : c;
    return result + (text.size() > kLongest ? "...\"" : "\"");
}

std::optional<int> digits(std::string_view text) {
    int value = 0;
    if (text.empty()
        || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::string isoDate(int year, unsigned month, unsigned day) {
    std::array<char, 16> buffer{};
    const auto print = [&](char *at, int value, int width) {
        for (int i = width - 1; i >= 0; --i, value /= 10)
            at[i] = static_cast<char>('0' + value % 10);
    };
    print(buffer.data(), year, 4);
    buffer[4] = '-';
    print(buffer.data() + 5, static_cast<int>(month), 2);
    buffer[7] = '-';
    print(buffer.data() + 8, static_cast<int>(day), 2);
    return std::string(buffer.data(), 10);
}

bool calendarDay(int year, unsigned month, unsigned day) {
    return std::chrono::year_month_day{std::chrono::year{year}, std::chrono::month{month},
                                       std::chrono::day{day}}
        .ok();
}

// "09 December 2026", the daily CSV file's form, as YYYY-MM-DD.
std::optional<std::string> longDate(std::string_view text) {
    static constexpr std::array<std::string_view, 12> kMonths = {
        "January", "February", "March",     "April",   "May",      "June",
        "July",    "August",   "September", "October", "November", "December"};
    const std::size_t first = text.find(' ');
    const std::size_t last = text.rfind(' ');
    if (first == std::string_view::npos || first == last)
        return std::nullopt;
    const auto day = digits(text.substr(0, first));
    const auto year = digits(text.substr(last + 1));
    const auto month = std::find(kMonths.begin(), kMonths.end(),
                                 trimmed(text.substr(first + 1, last - first - 1)));
    if (!day || !year || month == kMonths.end() || text.size() - last - 1 != 4)
        return std::nullopt;
    const auto monthNumber = static_cast<unsigned>(month - kMonths.begin() + 1);
    if (!calendarDay(*year, monthNumber, static_cast<unsigned>(*day)))
        return std::nullopt;
    return isoDate(*year, monthNumber, static_cast<unsigned>(*day));
}

std::optional<std::string> dateOf(std::string_view text) {
    if (isIsoDate(text))
        return std::string(text);
    return longDate(text);
}

std::optional<double> rateOf(std::string_view text) {
    if (!text.empty() && text.front() == '+')
        return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !isUsableRate(value))
        return std::nullopt;
    return value;
}

bool currencyCode(std::string_view text) {
    return text.size() == 3 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
           });
}

std::string upper(std::string_view text) {
    std::string result(text);
    for (char &c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}

// Each date once, and each currency once within a day.
class Collector {
public:
    explicit Collector(ReferenceFormat format) { mRates.format = format; }

    // False for a day given before.
    bool beginDay(const std::string &date) {
        if (!mDates.insert(date).second)
            return false;
        mRates.days.push_back({date, {}});
        mCurrencies.clear();
        return true;
    }

    bool inDay() const { return !mRates.days.empty(); }

    // False for a currency the day has already.
    bool add(std::string_view currency, double rate) {
        std::string code = upper(currency);
        if (!mCurrencies.insert(code).second)
            return false;
        mRates.days.back().rates.push_back({std::move(code), rate});
        return true;
    }

    ReferenceRates finish() {
        if (mRates.days.empty())
            refuse(1, "no dated rates in the file");
        return std::move(mRates);
    }

private:
    ReferenceRates mRates;
    std::unordered_set<std::string> mDates;
    std::unordered_set<std::string> mCurrencies;
};

// The value of attribute name in the attributes of one tag, or nullopt.
std::optional<std::string_view> attribute(std::string_view tag, std::string_view name) {
    std::size_t at = 0;
    while ((at = tag.find(name, at)) != std::string_view::npos) {
        const bool starts = at > 0
                            && (tag[at - 1] == ' ' || tag[at - 1] == '\t' || tag[at - 1] == '\n'
                                || tag[at - 1] == '\r');
        std::size_t next = at + name.size();
        while (next < tag.size() && (tag[next] == ' ' || tag[next] == '\t'))
            ++next;
        if (starts && next < tag.size() && tag[next] == '=') {
            ++next;
            while (next < tag.size() && (tag[next] == ' ' || tag[next] == '\t'))
                ++next;
            if (next >= tag.size() || (tag[next] != '"' && tag[next] != '\''))
                return std::nullopt;
            const std::size_t close = tag.find(tag[next], next + 1);
            if (close == std::string_view::npos)
                return std::nullopt;
            return tag.substr(next + 1, close - next - 1);
        }
        at = next;
    }
    return std::nullopt;
}

class XmlReader {
public:
    explicit XmlReader(std::string_view text)
        : mText(text) {}

    ReferenceRates read() {
        Collector rates(ReferenceFormat::Xml);
        bool envelope = false;
        std::size_t at = 0;
        while ((at = mText.find('<', at)) != std::string_view::npos) {
            if (mText.compare(at, 4, "<!--") == 0) {
                at = skipPast(at, "-->");
                continue;
            }
            if (mText.compare(at, 2, "<?") == 0 || mText.compare(at, 2, "<!") == 0
                || mText.compare(at, 2, "</") == 0) {
                at = skipPast(at, ">");
                continue;
            }
            const std::size_t close = mText.find('>', at);
            if (close == std::string_view::npos
                || mText.substr(at + 1, close - at - 1).find('<') != std::string_view::npos)
                refuse(lineOf(at), "an element is not closed");
            const std::string_view tag = mText.substr(at + 1, close - at - 1);
            const std::string_view name = tag.substr(0, tag.find_first_of(" \t\r\n/"));
            if (!envelope) {
                if (name != "gesmes:Envelope")
                    refuse(lineOf(at), "the first element " + shown(name)
                                           + " is not the reference rates' gesmes:Envelope");
                envelope = true;
            } else if (name == "Cube") {
                cube(tag, at, rates);
            }
            at = close + 1;
        }
        if (!envelope)
            refuse(1, "no gesmes:Envelope element");
        return rates.finish();
    }

private:
    std::size_t skipPast(std::size_t at, std::string_view end) const {
        const std::size_t found = mText.find(end, at);
        if (found == std::string_view::npos)
            refuse(lineOf(at), "a comment or declaration is not closed");
        return found + end.size();
    }

    // Lines are counted only for a message: a valid file never pays for it.
    std::size_t lineOf(std::size_t at) const {
        return 1 + static_cast<std::size_t>(std::count(mText.begin(), mText.begin() + at, '\n'));
    }

    void cube(std::string_view tag, std::size_t at, Collector &rates) const {
        const auto time = attribute(tag, "time");
        const auto currency = attribute(tag, "currency");
        const auto rate = attribute(tag, "rate");
        const auto element = [&] {
            std::string text(1, '<');
            text.append(tag.substr(0, 60)).push_back('>');
            return shown(text);
        };
        if (time) {
            if (!isIsoDate(*time))
                refuse(lineOf(at), element() + ": the date " + shown(*time) + " is not YYYY-MM-DD");
            if (!rates.beginDay(std::string(*time)))
                refuse(lineOf(at),
                       element() + ": the day " + std::string(*time) + " is given twice");
        }
        if (!currency && !rate)
            return;
        if (!currency || !rate)
            refuse(lineOf(at), element() + ": a Cube needs both currency and rate");
        if (!currencyCode(*currency))
            refuse(lineOf(at), element() + ": " + shown(*currency) + " is not a currency code");
        if (!rates.inDay())
            refuse(lineOf(at), element() + ": a rate outside a dated Cube");
        const auto value = rateOf(*rate);
        if (!value)
            refuse(lineOf(at), element() + ": the rate " + shown(*rate)
                                   + " is not a finite number above 0 that can be inverted");
        if (!rates.add(*currency, *value))
            refuse(lineOf(at), element() + ": " + upper(*currency) + " is given twice for one day");
    }

    std::string_view mText;
};

// Splits one line at commas, fields trimmed.
void splitFields(std::string_view line, std::vector<std::string_view> &fields) {
    fields.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(trimmed(line.substr(start, comma - start)));
        if (comma == std::string_view::npos)
            return;
        start = comma + 1;
    }
}

ReferenceRates readCsv(std::string_view text) {
    Collector rates(ReferenceFormat::Csv);
    std::vector<std::string_view> header;
    std::vector<std::string_view> fields;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = trimmed(text.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (line.empty())
            continue;
        if (header.empty()) {
            splitFields(line, header);
            // The daily file ends its lines with a comma: an empty last column.
            if (header.size() > 1 && header.back().empty())
                header.pop_back();
            for (std::size_t i = 1; i < header.size(); ++i) {
                if (!currencyCode(header[i]))
                    refuse(lineNumber, shown(header[i]) + " is not a currency code");
                for (std::size_t j = 1; j < i; ++j)
                    if (upper(header[j]) == upper(header[i]))
                        refuse(lineNumber, upper(header[i]) + " is given twice");
            }
            continue;
        }
        splitFields(line, fields);
        if (fields.size() == header.size() + 1 && fields.back().empty())
            fields.pop_back();
        if (fields.size() != header.size())
            refuse(lineNumber, std::to_string(fields.size()) + " columns where the header has "
                                   + std::to_string(header.size()));
        const auto date = dateOf(fields[0]);
        if (!date)
            refuse(lineNumber, "the date " + shown(fields[0])
                                   + " is neither YYYY-MM-DD nor like 09 December 2026");
        if (!rates.beginDay(*date))
            refuse(lineNumber, "the day " + *date + " is given twice");
        for (std::size_t i = 1; i < fields.size(); ++i) {
            if (fields[i].empty() || fields[i] == "N/A")
                continue;
            const auto value = rateOf(fields[i]);
            if (!value)
                refuse(lineNumber, upper(header[i]) + ": the rate " + shown(fields[i])
                                       + " is not a finite number above 0 that can be inverted");
            rates.add(header[i], *value); // the header holds each currency once
        }
    }
    return rates.finish();
}

} // namespace

const ReferenceDay *ReferenceRates::newest() const {
    const auto latest = std::max_element(
        days.begin(), days.end(),
        [](const ReferenceDay &a, const ReferenceDay &b) { return a.date < b.date; });
    return latest == days.end() ? nullptr : &*latest;
}

const ReferenceDay *ReferenceRates::day(std::string_view date) const {
    const auto found = std::find_if(days.begin(), days.end(),
                                    [&](const ReferenceDay &day) { return day.date == date; });
    return found == days.end() ? nullptr : &*found;
}

std::string referenceRateText(double rate) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), rate);
    return std::string(buffer.data(), result.ptr);
}

bool isIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    const auto year = digits(text.substr(0, 4));
    const auto month = digits(text.substr(5, 2));
    const auto day = digits(text.substr(8, 2));
    return year && month && day
           && calendarDay(*year, static_cast<unsigned>(*month), static_cast<unsigned>(*day));
}

ReferenceRates parseReferenceRates(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    const std::string_view start = trimmed(text.substr(0, 64));
    if (start.starts_with('<'))
        return XmlReader(text).read();
    if (start.starts_with("Date") && trimmed(start.substr(4)).starts_with(','))
        return readCsv(text);
    throw Error(err::InvalidArgument,
                "Not a reference rate file: neither the XML of an envelope of Cube elements nor "
                "a CSV file whose header starts with Date");
}

ReferenceRates readReferenceRateFile(const std::string &path) {
    constexpr std::streamoff kLargest = std::streamoff{64} << 20;
    std::error_code ignored;
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file || !std::filesystem::is_regular_file(path, ignored))
        throw Error(err::FileAccess, "Cannot read " + path + ".");
    if (file.tellg() > kLargest)
        throw Error(err::FileAccess, path + " is too large for a reference rate file.");
    file.seekg(0);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad())
        throw Error(err::FileAccess, "Cannot read " + path + ".");
    return parseReferenceRates(text);
}

std::string writeReferenceRates(const ReferenceDay &day, ReferenceFormat format) {
    std::string text;
    if (format == ReferenceFormat::Csv) {
        text = "Date";
        for (const ReferenceRate &rate : day.rates)
            text.append(",").append(rate.currency);
        text.append("\n").append(day.date);
        for (const ReferenceRate &rate : day.rates)
            text.append(",").append(referenceRateText(rate.rate));
        return text + "\n";
    }
    text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\" "
           "xmlns=\"http://www.ecb.int/vocabulary/2002-08-01/eurofxref\">\n"
           "\t<gesmes:subject>Reference rates</gesmes:subject>\n"
           "\t<Cube>\n"
           "\t\t<Cube time=\""
           + day.date + "\">\n";
    for (const ReferenceRate &rate : day.rates)
        text += "\t\t\t<Cube currency=\"" + rate.currency + "\" rate=\""
                + referenceRateText(rate.rate) + "\"/>\n";
    return text + "\t\t</Cube>\n\t</Cube>\n</gesmes:Envelope>\n";
}

} // namespace kvt
